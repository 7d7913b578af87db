#include "tools/assetgen/contact_sheet.h"

#include <cairo.h>

#include <algorithm>
#include <string>

namespace assetgen {

namespace {

constexpr int kSheetWidth = 1500, kGap = 8, kLabel = 12;

struct Shown { int w, h, scale; };

Shown ShownSize(const Picture& p) {
    const int w = p.portrait ? p.width : p.height, h = p.portrait ? p.height : p.width;
    return {w, h, std::max(w, h) <= 60 ? 2 : 1};
}

void DrawOne(cairo_t* cr, const Picture& p, int x0, int y0) {
    const Shown s = ShownSize(p);
    for (int v = 0; v < s.h; ++v) {
        for (int u = 0; u < s.w; ++u) {
            // As seen: (u, v) is stored (v, H - 1 - u) for turned pictures.
            const int x = p.portrait ? u : v, y = p.portrait ? v : p.height - 1 - u;
            const bool key = p.keyed && !p.OpaqueAt(x, y);
            double r, g, b;
            if (key) {
                r = g = b = ((u / 4 + v / 4) % 2) ? 0.8 : 0.6;
                r += 0.15;
            } else {
                const uint16_t c = p.At(x, y);
                r = ((c >> 11) & 31) / 31.0;
                g = ((c >> 5) & 63) / 63.0;
                b = (c & 31) / 31.0;
            }
            cairo_set_source_rgb(cr, r, g, b);
            cairo_rectangle(cr, x0 + u * s.scale, y0 + v * s.scale, s.scale, s.scale);
            cairo_fill(cr);
        }
    }
}

}  // namespace

bool WriteContactSheet(const PictureList& pictures, const std::string& pngPath) {
    // Lay out in rows first to know the height.
    struct Spot { int x, y; };
    std::vector<Spot> spots;
    int x = kGap, y = kGap, rowH = 0;
    for (const Picture& p : pictures) {
        const Shown s = ShownSize(p);
        const int w = s.w * s.scale, h = s.h * s.scale + kLabel;
        if (x + w > kSheetWidth - kGap) {
            x = kGap;
            y += rowH + kGap;
            rowH = 0;
        }
        spots.push_back({x, y});
        x += std::max(w, 30) + kGap;
        rowH = std::max(rowH, h);
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSheetWidth, y + rowH + kGap);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.22);
    cairo_paint(cr);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, 10);
    for (size_t i = 0; i < pictures.size(); ++i) {
        cairo_set_source_rgb(cr, 1, 1, 0.6);
        cairo_move_to(cr, spots[i].x, spots[i].y + 9);
        cairo_show_text(cr, std::to_string(pictures[i].id).c_str());
        DrawOne(cr, pictures[i], spots[i].x, spots[i].y + kLabel);
    }
    const bool ok = cairo_surface_write_to_png(surface, pngPath.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace assetgen
