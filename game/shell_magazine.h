// The shells left in the shotgun, shown as a strip fixed on the screen. The
// strip blinks while the gun is empty.
#pragma once

#include <cstdint>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "graphics/scene.h"

class ShellMagazine {
public:
    static constexpr uint8_t kLayer = 230;
    static constexpr uint32_t kBlinkMs = 140;
    // Frame k shows the magazine after k shots; with seven shells frame 7 is
    // the empty one and frame 8 its blink.
    static constexpr int32_t kEmptyFrame = 7;

    ShellMagazine() = default;
    virtual ~ShellMagazine() = default;
    ShellMagazine(const ShellMagazine&) = delete;
    ShellMagazine& operator=(const ShellMagazine&) = delete;

    // A full magazine; the strip at screen (x, y). False when its sprite
    // cannot be made, and the magazine then stays out of the scene.
    bool init(int32_t x, int32_t y, gfx::Scene* scene, uint8_t capacity);
    // One shell fewer and the strip one frame on; nothing when empty.
    void fire();
    void reload();
    bool isLoaded() const { return shells_ != 0; }
    uint8_t shells() const { return shells_; }
    // Keeps the strip in its place on the screen after a scroll.
    void reposition();
    void hide();
    void show();
    void release();

    // The blink's timer starts with the hunt.
    void resetBlink(uint32_t now) { blinkTime_ = now; }
    // Called on every event: while empty, the strip swaps between the empty
    // frame and its blink every 140 ms.
    void blink(uint32_t now);

    const AnimatedSprite& sprite() const { return sprite_; }

private:
    AnimatedSprite sprite_;
    FrameSet frames_;
    gfx::Scene* scene_ = nullptr;  // null while there is no strip
    int32_t x_ = 0;
    int32_t y_ = 0;
    uint32_t blinkTime_ = 0;
    uint8_t shells_ = 0;
    uint8_t capacity_ = 0;
};
