// A sprite that shows one picture of a frame sequence at a time.
#pragma once

#include <cstdint>

#include "app/frame_sequence.h"
#include "app/frame_set.h"
#include "graphics/sprite.h"

class AnimatedSprite : public gfx::Sprite {
public:
    // Starts on the set's first picture; the first automatic change comes one
    // period from now. False when the sprite part cannot be set up.
    bool InitAnimation(const FrameSet& frames, int32_t atX, int32_t atY, bool movable, bool isKeyed, bool isBlended,
                       int32_t period, int32_t mode, gfx::Colour keyColour);

    void NextFrame();
    void PreviousFrame();
    void SetFrame(int32_t n);
    bool AdvanceIfDue();
    // The set's pictures as they are, back on frame 0; the picture shown
    // changes only with the next frame change.
    void RestartFrames(const FrameSet& frames);

    const FrameSequence& Sequence() const { return sequence_; }

private:
    void ShowCurrent() { image = sequence_.Current(); }

    FrameSequence sequence_;
};
