// A short flash where the player fired; at most 29 at a time.
#pragma once

#include <cstdint>

#include "app/frame_set.h"
#include "game/effect_table.h"
#include "graphics/scene.h"

class ShotPuffs {
public:
    static constexpr uint8_t kMaxPuffs = 29;

    ShotPuffs() = default;
    virtual ~ShotPuffs() = default;
    ShotPuffs(const ShotPuffs&) = delete;
    ShotPuffs& operator=(const ShotPuffs&) = delete;

    int init(gfx::Scene* scene);
    // At the tap's screen position (px, py).
    void add(int32_t px, int32_t py);
    void update() { puffs_.update(); }
    // Out of the scene and back, around the screens the pause menu opens.
    void hide() { puffs_.hide(); }
    void show() { puffs_.show(); }
    int release();

    const EffectTable& puffs() const { return puffs_; }

private:
    EffectTable puffs_;
    FrameSet puffFrames_;
    gfx::Scene* scene_ = nullptr;
};
