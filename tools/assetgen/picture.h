// One finished picture in the orientation it is stored in, 5-6-5 pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

struct Picture {
    uint16_t id = 0;
    int width = 0;   // stored width (across the panel)
    int height = 0;  // stored height (along the panel)
    std::vector<uint16_t> pixels;  // row-major, stored orientation
    std::vector<uint8_t> opaque;   // 1 = art, 0 = shows the key colour
    bool keyed = false;
    bool portrait = false;         // stored as drawn, not turned
    int keyX = 0, keyY = 0;        // where the loader reads the key colour

    uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool OpaqueAt(int x, int y) const { return opaque[static_cast<size_t>(y * width + x)] != 0; }
    uint16_t Key() const { return At(keyX, keyY); }
};

}  // namespace assetgen
