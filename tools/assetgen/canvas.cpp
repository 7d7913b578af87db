#include "tools/assetgen/canvas.h"

#include <algorithm>

namespace assetgen {

Canvas::Canvas(int width, int height)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      cr_(cairo_create(surface_)) {}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::CopyFrom(const Canvas& source, int x, int y) {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr_, source.surface(), -x, -y);
    cairo_paint(cr_);
    cairo_restore(cr_);
}

Canvas::Pixel Canvas::At(int x, int y) const {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    uint32_t v = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    auto a = static_cast<uint8_t>(v >> 24);
    auto unmul = [a](uint32_t c) {
        return a == 0 ? uint8_t{0} : static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return {unmul((v >> 16) & 0xFF), unmul((v >> 8) & 0xFF), unmul(v & 0xFF), a};
}

uint16_t To565(uint8_t r, uint8_t g, uint8_t b) {
    auto r5 = static_cast<unsigned>((r * 31 + 127) / 255);
    auto g6 = static_cast<unsigned>((g * 63 + 127) / 255);
    auto b5 = static_cast<unsigned>((b * 31 + 127) / 255);
    return static_cast<uint16_t>((r5 << 11) | (g6 << 5) | b5);
}

uint16_t To565(Rgb c) {
    auto ch = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 1.0) * 255.0 + 0.5); };
    return To565(ch(c.r), ch(c.g), ch(c.b));
}

namespace {

// Places landscape pixel (u, v) of a canvas at its stored position.
struct Placement {
    int width, height;
    Orientation o;
    size_t Index(int u, int v, int canvasWidth) const {
        if (o == Orientation::Portrait) return static_cast<size_t>(v * width + u);
        // P(x, y) = L(H - 1 - y, x): x = v, y = H - 1 - u, with H the canvas width.
        return static_cast<size_t>((canvasWidth - 1 - u) * width + v);
    }
};

Picture Convert(uint16_t id, const Canvas& canvas, bool keyed, Rgb under, Orientation o) {
    Picture p;
    p.id = id;
    p.keyed = keyed;
    p.portrait = o == Orientation::Portrait;
    p.width = o == Orientation::Portrait ? canvas.width() : canvas.height();
    p.height = o == Orientation::Portrait ? canvas.height() : canvas.width();
    const size_t n = static_cast<size_t>(p.width * p.height);
    p.pixels.assign(n, 0);
    p.opaque.assign(n, 1);
    const Placement place{p.width, p.height, o};
    const uint16_t key = To565(under);
    const auto ur = under.r * 255.0, ug = under.g * 255.0, ub = under.b * 255.0;
    for (int v = 0; v < canvas.height(); ++v) {
        for (int u = 0; u < canvas.width(); ++u) {
            const size_t i = place.Index(u, v, canvas.width());
            const Canvas::Pixel px = canvas.At(u, v);
            // The loader reads the key from the first stored pixel: keep it clear.
            if (keyed && (px.a < 128 || i == 0)) {
                p.pixels[i] = key;
                p.opaque[i] = 0;
                continue;
            }
            const double a = px.a / 255.0;
            auto mix = [a](uint8_t c, double bg) { return static_cast<uint8_t>(c * a + bg * (1.0 - a) + 0.5); };
            uint16_t c = To565(mix(px.r, ur), mix(px.g, ug), mix(px.b, ub));
            // The key must never appear in the art: nudge the lowest green bit.
            if (keyed && c == key) c ^= 0x0020;
            p.pixels[i] = c;
        }
    }
    return p;
}

}  // namespace

Picture MakeKeyed(uint16_t id, const Canvas& canvas, Rgb key, Orientation o) {
    return Convert(id, canvas, true, key, o);
}

Picture MakeOpaque(uint16_t id, const Canvas& canvas, Orientation o) {
    return Convert(id, canvas, false, pal::kBlack, o);
}

}  // namespace assetgen
