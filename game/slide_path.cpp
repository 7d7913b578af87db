#include "game/slide_path.h"

#include <cstdlib>

namespace {

constexpr int32_t kWindow = 5;

bool Near(gfx::Point a, gfx::Point b) { return std::abs(a.x - b.x) <= kWindow && std::abs(a.y - b.y) <= kWindow; }

}  // namespace

SlidePath::SlidePath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int16_t dx, int16_t dy, int16_t hold)
    : start_{x0, y0}, stop_{x1, y1}, current_{x0, y0}, dx_(dx), dy_(dy), hold_(hold) {}

gfx::Point SlidePath::next() {
    if (phase_ == kForward) {
        current_.x += dx_;
        current_.y += dy_;
    } else if (phase_ == kBack) {
        current_.x -= dx_;
        current_.y -= dy_;
    }
    return current_;
}

bool SlidePath::isFinished() {
    switch (phase_) {
        case kForward:
            if (Near(current_, stop_)) phase_ = kHolding;
            break;
        case kHolding:
            if (hold_ == 0) phase_ = kBack;
            --hold_;
            break;
        case kBack:
            if (Near(current_, start_)) done_ = true;
            break;
    }
    return done_;
}
