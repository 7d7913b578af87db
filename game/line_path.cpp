#include "game/line_path.h"

#include <cstdlib>

namespace {

constexpr int32_t kFinishWindow = 5;

}  // namespace

LinePath::LinePath(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t speed)
    : current_{x0, y0}, goal_{x1, y1}, speed_(static_cast<int8_t>(speed)) {
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = std::abs(y1 - y0);
    const int32_t sx = x1 < x0 ? -1 : 1;
    const int32_t sy = y1 < y0 ? -1 : 1;
    if (dx < dy) {
        step_ = {0, sy};
        overflow_ = {sx, 0};
        major_ = dy;
        minor_ = dx;
    } else {
        step_ = {sx, 0};
        overflow_ = {0, sy};
        major_ = dx;
        minor_ = dy;
    }
    error_ = major_ / 2;
}

gfx::Point LinePath::next() {
    for (int32_t i = 0; i < speed_; ++i) {
        error_ += minor_;
        if (error_ >= major_) {
            error_ -= major_;
            current_.x += overflow_.x;
            current_.y += overflow_.y;
        }
        current_.x += step_.x;
        current_.y += step_.y;
        ++stepsMade_;
    }
    return current_;
}

bool LinePath::isFinished() {
    if (!finished_) {
        finished_ = stepsMade_ >= major_ || (std::abs(current_.x - goal_.x) <= kFinishWindow &&
                                             std::abs(current_.y - goal_.y) <= kFinishWindow);
    }
    return finished_;
}
