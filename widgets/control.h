// Base of buttons, toggle boxes and sliders: an animated sprite whose frames
// are the control's looks, a hit box, and an event handler that its view
// offers every event to first.
#pragma once

#include <cstdint>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "app/input_event.h"

class Control {
public:
    Control() = default;
    // Releases the frames before the sprite goes.
    virtual ~Control() { ReleaseFrames(); }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Non-zero when the control took the event; it may rewrite it into a
    // control event carrying its id.
    virtual uint8_t HandleEvent(InputEvent& event) = 0;
    virtual bool HitTest(int32_t x, int32_t y) const = 0;
    // Frees owned frames; borrowed ones (frames null) are left alone.
    virtual void ReleaseFrames() {
        if (frames != nullptr) frames->FreeFrames();
        frames = nullptr;
    }

    AnimatedSprite sprite;
    FrameSet* frames = nullptr;  // &ownFrames_ while the control's own frames are loaded

    // Every kind of control has one; a view shows only visible controls.
    bool visible = true;

protected:
    // The frames the control loads itself, held here so that a screen that
    // opens makes no allocation for them.
    FrameSet& OwnFrames() {
        frames = &ownFrames_;
        return ownFrames_;
    }

private:
    FrameSet ownFrames_;
};
