// A straight line walked with Bresenham's steps, `speed` steps per move.
#pragma once

#include <cstdint>

#include "game/flight_path.h"

class LinePath : public FlightPath {
public:
    LinePath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed);

    gfx::Point next() override;
    // Within 5 pixels of the goal on both axes, or once every step along the
    // major axis is made: a fast path can jump over the 11-pixel window.
    bool isFinished() override;

    gfx::Point current() const { return current_; }
    gfx::Point goal() const { return goal_; }

private:
    gfx::Point current_;
    gfx::Point goal_;
    gfx::Point step_;      // every iteration
    gfx::Point overflow_;  // when the error term overflows
    int32_t major_ = 0;
    int32_t minor_ = 0;
    int32_t error_ = 0;
    int32_t stepsMade_ = 0;
    int8_t speed_ = 0;
    bool finished_ = false;
};
