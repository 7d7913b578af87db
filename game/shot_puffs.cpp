#include "game/shot_puffs.h"

namespace {

constexpr int32_t kFramePeriodMs = 75;
constexpr uint8_t kLayer = 244;

}  // namespace

int ShotPuffs::init(gfx::Scene* scene) {
    scene_ = scene;
    puffs_.init(scene, kMaxPuffs);
    puffFrames_.LoadFrames(256, 260, 34, 40);
    return 0;
}

void ShotPuffs::add(int32_t px, int32_t py) {
    if (scene_ == nullptr) return;
    puffs_.add(puffFrames_, scene_->GetScrollX() + px - 14, scene_->GetScrollY() + py - 15, kFramePeriodMs, kLayer,
               true);
}

int ShotPuffs::release() {
    puffs_.release();
    puffFrames_.FreeFrames();
    scene_ = nullptr;
    return 0;
}
