#include "game/zigzag_path.h"

#include <cstdlib>

namespace {

constexpr int32_t kGoalWindow = 10;
constexpr int32_t kWorldRight = 239;
constexpr int32_t kWorldBottom = 959;

GameRandom SeededNow() {
    GameRandom random;
    random.seed();
    return random;
}

}  // namespace

// The goal's x plays no part: the swings are measured from x0.
ZigzagPath::ZigzagPath(int32_t x0, int32_t y0, int32_t /*x1*/, int32_t y1, int32_t speed)
    : random_(SeededNow()),
      leg_(x0, y0, x0, y0, 0),
      last_{x0, y0},
      x0_(x0),
      y1_(y1),
      speed_(speed),
      direction_(y1 < y0 ? -1 : 1) {
    const int32_t dy = direction_ * (30 + random_.below(1000) % 70);
    dx_ = -(5 + random_.below(1000) % 45);
    leg_ = LinePath(x0, y0, x0 + dx_, y0 + dy, speed_);
}

gfx::Point ZigzagPath::next() {
    if (leg_.isFinished()) {
        // From the old leg's end, not from where the duck stopped short of or
        // past it, so the track does not drift.
        const gfx::Point start = leg_.goal();
        const int32_t dy = direction_ * (60 + random_.below(1000) % 140);
        const int32_t swing = 5 + random_.below(1000) % 45;
        dx_ = dx_ < 0 ? swing : -swing;
        leg_ = LinePath(start.x, start.y, x0_ + dx_, start.y + dy, speed_);
    }
    last_ = leg_.next();
    return last_;
}

bool ZigzagPath::isFinished() {
    if (!finished_ && std::abs(last_.y - y1_) <= kGoalWindow) {
        finished_ = last_.x < 1 || last_.x > kWorldRight || last_.y < 1 || last_.y > kWorldBottom;
    }
    return finished_;
}
