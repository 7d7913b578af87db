// A ring of feathers where a duck was shot; at most two at a time.
#pragma once

#include <cstdint>

#include "app/frame_set.h"
#include "game/effect_table.h"
#include "graphics/scene.h"

class FeatherBursts {
public:
    static constexpr uint8_t kMaxBursts = 2;

    FeatherBursts() = default;
    virtual ~FeatherBursts() = default;
    FeatherBursts(const FeatherBursts&) = delete;
    FeatherBursts& operator=(const FeatherBursts&) = delete;

    int init(gfx::Scene* scene);
    // At the world position of a shot duck of this kind (big below 3).
    void show(int32_t x, int32_t y, uint8_t duckKind);
    void update() { bursts_.update(); }
    // Out of the scene and back, around the screens the pause menu opens.
    void hide() { bursts_.hide(); }
    void show() { bursts_.show(); }
    int release();

    const EffectTable& bursts() const { return bursts_; }

private:
    EffectTable bursts_;
    FrameSet bigBurst_;
    FrameSet smallBurst_;
};
