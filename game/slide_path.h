// Out by (dx, dy) per move until near the stop point, a pause, then back.
#pragma once

#include <cstdint>

#include "game/flight_path.h"

class SlidePath : public FlightPath {
public:
    SlidePath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int16_t dx, int16_t dy, int16_t hold);

    gfx::Point next() override;
    // Also the clock of the pause: the hold counts owner updates, not moves,
    // and lasts hold + 1 of them.
    bool isFinished() override;

private:
    enum Phase : int8_t { kBack = -1, kHolding = 0, kForward = 1 };

    gfx::Point start_;
    gfx::Point stop_;
    gfx::Point current_;
    int16_t dx_;
    int16_t dy_;
    int16_t hold_;
    Phase phase_ = kForward;
    bool done_ = false;
};
