// A flight that swings left and right of a straight course towards y1: a
// chain of short LinePaths, each ending on the other side of the first x.
#pragma once

#include <cstdint>

#include "game/flight_path.h"
#include "game/game_random.h"
#include "game/line_path.h"

class ZigzagPath : public FlightPath {
public:
    // Seeds its own generator from the clock, so paths made in the same
    // millisecond swing alike.
    ZigzagPath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed);

    gfx::Point next() override;
    // Near the goal's y and outside the world.
    bool isFinished() override;

private:
    GameRandom random_;
    LinePath leg_;
    gfx::Point last_;
    int32_t x0_;
    int32_t y1_;
    int32_t dx_ = 0;
    int32_t speed_;
    int32_t direction_;
    bool finished_ = false;
};
