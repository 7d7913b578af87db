// A fixed table of animations that play their frames once and then leave the
// scene: the feather bursts and the shot puffs.
#pragma once

#include <cstdint>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "game/slot_table.h"
#include "graphics/scene.h"

class EffectTable {
public:
    static constexpr uint8_t kCapacity = 30;

    EffectTable() = default;
    virtual ~EffectTable() = default;
    EffectTable(const EffectTable&) = delete;
    EffectTable& operator=(const EffectTable&) = delete;

    // Empty, holding at most `limit` effects at a time.
    void init(gfx::Scene* scene, uint8_t limit);
    // Starts one at world (x, y), keyed, animated by the scene's animation
    // list. False when the table is full or the sprite cannot be made.
    bool add(const FrameSet& frames, int32_t x, int32_t y, int32_t periodMs, uint8_t layer, bool blend);
    // Removes every effect that has reached its last frame.
    void update();
    void hide();
    void show();
    // Every effect out of the scene and the animation list, then freed.
    void release();

    uint8_t count() const { return effects_.count(); }
    const AnimatedSprite& at(uint8_t i) const { return effects_[i]; }

private:
    // Out of the scene and the animation list, its buffer freed.
    void drop(AnimatedSprite& sprite);

    SlotTable<AnimatedSprite, kCapacity> effects_;
    gfx::Scene* scene_ = nullptr;
    uint8_t limit_ = 0;
};
