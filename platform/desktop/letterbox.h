// Where the landscape view sits in a window of any size, and where a mouse
// position falls on the panel.
#pragma once

#include <cstdint>

#include "platform/core/panel_image.h"

namespace plat {

struct Viewport {
    int32_t x, y;   // top-left of the view, in output pixels
    int32_t scale;  // whole output pixels per view pixel, at least 1
};

// The largest whole scale that fits, centred (bars on the other sides).
Viewport FitView(int32_t outputWidth, int32_t outputHeight);

// The panel point under output pixel (x, y). Outside the view: false, unless
// `clamp`, which takes the nearest edge point (for a drag that left it).
bool OutputToPanel(const Viewport& viewport, int32_t x, int32_t y, bool clamp, Point& panel);

}  // namespace plat
