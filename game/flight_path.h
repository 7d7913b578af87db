// How a moving thing gets its next position. A path is asked for by a
// variant number and a block of eight parameters (see Target::setPath).
#pragma once

#include <array>
#include <cstdint>

#include "graphics/geometry.h"

class FlightPath {
public:
    virtual ~FlightPath() = default;
    // Advances and returns the new point.
    virtual gfx::Point next() = 0;
    // Asked once per owner update; may move the path on to its next phase.
    virtual bool isFinished() = 0;
};

enum FlightPathVariant : int32_t {
    kPathLine = 1,    // x0, y0, x1, y1, speed
    kPathZigzag = 4,  // x0, y0, x1, y1, speed
    kPathSlide = 5,   // x0, y0, x1, y1, dx, dy, hold
};

using PathParams = std::array<int32_t, 8>;
