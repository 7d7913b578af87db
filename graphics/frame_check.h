// The frame oracle of `--check-frames`: keeps a copy of what the window
// shows and compares it with the scene redrawn in full after each frame.
#pragma once

#include <cstdint>

#include "graphics/display.h"
#include "graphics/surface.h"

namespace gfx {

class FrameCheck {
public:
    FrameCheck() = default;
    ~FrameCheck();
    FrameCheck(const FrameCheck&) = delete;
    FrameCheck& operator=(const FrameCheck&) = delete;

    // Takes the display's presents from now on. False when out of memory.
    bool Start(Display& display);
    void Stop();
    bool On() const { return display_ != nullptr; }

    // The frame is about to draw: the reference starts from the display.
    void Begin();
    // Where the full redraw goes.
    Surface& Reference() { return *reference_; }
    // The window against the reference; a difference is counted and traced.
    bool Matches();
    uint32_t Differing() const { return differing_; }

private:
    Display* display_ = nullptr;
    Surface* window_ = nullptr;
    Surface* reference_ = nullptr;
    uint32_t differing_ = 0;
};

}  // namespace gfx
