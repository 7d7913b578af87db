// The pictures of one animation, loaded by id or lent by someone else.
#pragma once

#include <cstdint>

#include "graphics/picture.h"

class FrameSet {
public:
    static constexpr int kMaxFrames = 30;

    FrameSet() = default;
    virtual ~FrameSet() { FreeFrames(); }
    FrameSet(const FrameSet&) = delete;
    FrameSet& operator=(const FrameSet&) = delete;

    // Loads pictures first..last at the given size; ids past the 30 slots are
    // not loaded.
    void LoadFrames(uint16_t firstId, uint16_t lastId, uint16_t width, uint16_t height);
    // Borrows at most 30 pictures; they are never freed here.
    void UseFrames(gfx::Picture* const* pictures, int32_t n);
    // Frees what LoadFrames loaded; borrowed pictures stay.
    void FreeFrames();

    gfx::Picture* const* Frames() const { return frames_; }
    int32_t Count() const { return count_; }
    bool Shared() const { return shared_; }

private:
    gfx::Picture* frames_[kMaxFrames] = {};
    gfx::Picture loaded_[kMaxFrames];  // what LoadFrames loads, shared with the picture cache
    int32_t count_ = 0;
    bool shared_ = false;
};
