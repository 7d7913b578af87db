// Whole-surface effects; none of them presents.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/surface.h"

namespace gfx {

// Every pixel to the gray (R8 + G8 + B8) / 4: darker than the mean.
void GrayDisplay(Surface& surface);

// Halves round up; negative values truncate toward zero.
int32_t RoundHalfUp(double v);

// Draws a 180 x 180 source turned by `degrees` about (89, 89) into `to`
// (at most 200 wide) of the destination; at 0 degrees the source turns a
// quarter clockwise.
void RotatePicture(const Surface& source, Surface& destination, const Rect& to, double degrees);

}  // namespace gfx
