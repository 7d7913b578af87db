#include "game/feather_bursts.h"

namespace {

constexpr int32_t kFramePeriodMs = 75;
constexpr uint8_t kFirstSmallKind = 3;

}  // namespace

int FeatherBursts::init(gfx::Scene* scene) {
    bursts_.init(scene, kMaxBursts);
    bigBurst_.LoadFrames(270, 276, 70, 120);
    smallBurst_.LoadFrames(277, 283, 36, 60);
    return 0;
}

void FeatherBursts::show(int32_t x, int32_t y, uint8_t duckKind) {
    if (duckKind < kFirstSmallKind) {
        bursts_.add(bigBurst_, x, y - 25, kFramePeriodMs, 131, true);
    } else {
        bursts_.add(smallBurst_, x - 4, y - 12, kFramePeriodMs, 51, true);
    }
}

int FeatherBursts::release() {
    bursts_.release();
    bigBurst_.FreeFrames();
    smallBurst_.FreeFrames();
    return 0;
}
