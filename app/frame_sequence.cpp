#include "app/frame_sequence.h"

#include <algorithm>

void FrameSequence::Start(gfx::Picture* const* pictures, int32_t n, int32_t period, int32_t mode, uint32_t now) {
    mode_ = mode;
    period_ = period;
    lastTick_ = now;
    index_ = 0;
    frames_[0] = n > 0 ? pictures[0] : nullptr;
    if (mode != kAnimationPingPong) {
        count_ = std::clamp(n, 0, kMaxFrames);
        std::copy(pictures + std::min(count_, 1), pictures + count_, frames_ + 1);
        return;
    }
    // a, b, c, d plays a, a, b, c, d, d, c, b with a once more behind them.
    // Longer sets are cut so that the list never runs past its slots.
    n = std::clamp(n, 0, kMaxPingPongPictures);
    for (int32_t i = 1; i <= 2 * n; ++i) {
        if (i == 1) {
            frames_[i] = pictures[0];
        } else if (i < n) {
            frames_[i] = pictures[i - 1];
        } else if (i == n) {
            frames_[i] = pictures[n - 1];
        } else {
            frames_[i] = pictures[2 * n - i];
        }
    }
    count_ = 2 * n;
}

void FrameSequence::Restart(gfx::Picture* const* pictures, int32_t n) {
    count_ = std::clamp(n, 0, kMaxFrames);
    std::copy(pictures, pictures + count_, frames_);
    index_ = 0;
}

void FrameSequence::Next() {
    if (count_ == 0) return;
    if (mode_ == kAnimationOnce) {
        if (index_ < count_ - 1) ++index_;
    } else {
        index_ = (index_ + 1) % count_;
    }
}

void FrameSequence::Previous() {
    if (count_ == 0) return;
    index_ = (index_ < 1 ? count_ - 1 : index_ - 1) % count_;
}

void FrameSequence::Set(int32_t n) {
    if (count_ == 0) return;
    // A negative n still lands on a frame of the list.
    index_ = ((n % count_) + count_) % count_;
}

bool FrameSequence::AdvanceIfDue(uint32_t now) {
    const auto elapsed = static_cast<int32_t>(now - lastTick_);
    if (elapsed < 0) {
        lastTick_ = now;
        return false;
    }
    if (elapsed < period_) return false;
    Next();
    lastTick_ = now;
    return true;
}
