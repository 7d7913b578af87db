#include "tools/pct/picture_layout.h"

namespace pct {

uint16_t To565(uint8_t r, uint8_t g, uint8_t b) {
    const auto r5 = static_cast<uint32_t>((r * 31 + 127) / 255);
    const auto g6 = static_cast<uint32_t>((g * 63 + 127) / 255);
    const auto b5 = static_cast<uint32_t>((b * 31 + 127) / 255);
    return static_cast<uint16_t>((r5 << 11) | (g6 << 5) | b5);
}

void From565(uint16_t c, uint8_t rgb[3]) {
    rgb[0] = static_cast<uint8_t>((((c >> 11) & 31u) * 255 + 15) / 31);
    rgb[1] = static_cast<uint8_t>((((c >> 5) & 63u) * 255 + 31) / 63);
    rgb[2] = static_cast<uint8_t>(((c & 31u) * 255 + 15) / 31);
}

// Stored pixel (x, y) is seen at (H - 1 - y, x) of the landscape image,
// H being the stored height (the landscape width).
std::vector<uint8_t> ToStoredBytes(const RgbImage& image, bool asStored, uint32_t& width, uint32_t& height) {
    width = asStored ? image.width : image.height;
    height = asStored ? image.height : image.width;
    std::vector<uint8_t> raw(static_cast<size_t>(width) * height * 2);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint32_t u = asStored ? x : height - 1 - y;
            const uint32_t v = asStored ? y : x;
            const uint8_t* p = &image.rgb[(static_cast<size_t>(v) * image.width + u) * 3];
            const uint16_t c = To565(p[0], p[1], p[2]);
            const size_t at = (static_cast<size_t>(y) * width + x) * 2;
            raw[at] = static_cast<uint8_t>(c);
            raw[at + 1] = static_cast<uint8_t>(c >> 8);
        }
    }
    return raw;
}

RgbImage FromStoredBytes(const std::vector<uint8_t>& raw, uint32_t width, uint32_t height, bool asStored) {
    RgbImage image;
    image.width = asStored ? width : height;
    image.height = asStored ? height : width;
    image.rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const size_t at = (static_cast<size_t>(y) * width + x) * 2;
            const uint16_t c = at + 1 < raw.size() ? static_cast<uint16_t>(raw[at] | (raw[at + 1] << 8)) : 0;
            const uint32_t u = asStored ? x : height - 1 - y;
            const uint32_t v = asStored ? y : x;
            From565(c, &image.rgb[(static_cast<size_t>(v) * image.width + u) * 3]);
        }
    }
    return image;
}

}  // namespace pct
