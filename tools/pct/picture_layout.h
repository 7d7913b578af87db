// Between images as the player sees them (landscape, 8-bit RGB) and the
// stored pictures: portrait, content turned a quarter counter-clockwise,
// little-endian 5-6-5.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/pct/png_file.h"

namespace pct {

uint16_t To565(uint8_t r, uint8_t g, uint8_t b);
void From565(uint16_t c, uint8_t rgb[3]);

// Raw picture bytes of `image`, turned into stored orientation unless it is
// already stored (`asStored`). Writes the stored size to width and height.
std::vector<uint8_t> ToStoredBytes(const RgbImage& image, bool asStored, uint32_t& width, uint32_t& height);

// The picture of `width` x `height` stored pixels in `raw` (missing bytes
// read as black), turned back as the player sees it unless `asStored`.
RgbImage FromStoredBytes(const std::vector<uint8_t>& raw, uint32_t width, uint32_t height, bool asStored);

}  // namespace pct
