// The frame order and timing of one animation: which picture is shown and
// when the next one is due. AnimatedSprite puts the chosen picture on screen.
#pragma once

#include <cstdint>

namespace gfx {
struct Picture;
}

enum AnimationMode : int32_t {
    kAnimationLoop = 0,
    kAnimationOnce = 1,     // stops on the last frame
    kAnimationPingPong = 2,  // forward then backward, each end frame twice
};

class FrameSequence {
public:
    static constexpr int kMaxFrames = 30;
    // A ping-pong cycle of n pictures takes 2n + 1 slots.
    static constexpr int kMaxPingPongPictures = 14;

    // Builds the played list from n pictures and starts timing at now.
    void Start(gfx::Picture* const* pictures, int32_t n, int32_t period, int32_t mode, uint32_t now);
    // Replaces the played list by the pictures as they are, back on frame 0.
    void Restart(gfx::Picture* const* pictures, int32_t n);

    void Next();
    void Previous();
    void Set(int32_t n);
    // Moves on one frame once a period has passed since the last change. A
    // tick that went backwards (the counter wrapped) restarts the period.
    bool AdvanceIfDue(uint32_t now);

    gfx::Picture* Current() const { return frames_[index_]; }
    int32_t Index() const { return index_; }
    int32_t Count() const { return count_; }
    gfx::Picture* At(int32_t i) const { return frames_[i]; }

private:
    gfx::Picture* frames_[kMaxFrames] = {};
    int32_t index_ = 0;
    int32_t count_ = 0;
    uint32_t lastTick_ = 0;
    int32_t period_ = 0;
    int32_t mode_ = kAnimationLoop;
};
