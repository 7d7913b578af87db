#include "app/frame_set.h"

#include <algorithm>

void FrameSet::LoadFrames(uint16_t firstId, uint16_t lastId, uint16_t width, uint16_t height) {
    FreeFrames();
    shared_ = false;
    count_ = lastId < firstId ? 0 : std::min(lastId - firstId + 1, kMaxFrames);
    for (int32_t i = 0; i < count_; ++i) {
        frames_[i] = &loaded_[i];
        gfx::LoadSharedPicture(loaded_[i], static_cast<uint16_t>(firstId + i), width, height);
    }
}

void FrameSet::UseFrames(gfx::Picture* const* pictures, int32_t n) {
    FreeFrames();
    count_ = std::clamp(n, 0, kMaxFrames);
    std::copy(pictures, pictures + count_, frames_);
    shared_ = true;
}

void FrameSet::FreeFrames() {
    if (shared_) return;
    for (int32_t i = 0; i < count_; ++i) {
        if (frames_[i] == nullptr) continue;
        gfx::FreePicture(*frames_[i]);
        frames_[i] = nullptr;
    }
}
