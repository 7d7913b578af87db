#include "app/animated_sprite.h"

#include "platform/platform.h"

bool AnimatedSprite::InitAnimation(const FrameSet& frames, int32_t atX, int32_t atY, bool movable, bool isKeyed,
                                   bool isBlended, int32_t period, int32_t mode, gfx::Colour keyColour) {
    sequence_.Start(frames.Frames(), frames.Count(), period, mode, plat::GetTickCount());
    return gfx::SetSpritePicture(*this, sequence_.Current(), atX, atY, movable, isKeyed, isBlended, keyColour) == 0;
}

void AnimatedSprite::NextFrame() {
    sequence_.Next();
    ShowCurrent();
}

void AnimatedSprite::PreviousFrame() {
    sequence_.Previous();
    ShowCurrent();
}

void AnimatedSprite::SetFrame(int32_t n) {
    sequence_.Set(n);
    ShowCurrent();
}

bool AnimatedSprite::AdvanceIfDue() {
    if (!sequence_.AdvanceIfDue(plat::GetTickCount())) return false;
    ShowCurrent();
    return true;
}

void AnimatedSprite::RestartFrames(const FrameSet& frames) { sequence_.Restart(frames.Frames(), frames.Count()); }
