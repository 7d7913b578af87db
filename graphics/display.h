// The off-screen frame and its presentation to the window.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/platform.h"

#include "graphics/geometry.h"
#include "graphics/surface.h"

namespace gfx {

// Rows start on 4-byte boundaries, top row first, as the window shows them.
class DisplaySurface : public Surface {
public:
    DisplaySurface(uint32_t width, uint32_t height);

private:
    std::unique_ptr<uint16_t[]> memory_;
};

class Display {
public:
    // At the window's client size.
    Display();

    DisplaySurface& GetDisplaySurface() { return surface_; }

    // Each is one present of the platform, with all its rectangles.
    void PresentAll();
    void PresentRects(const Rect* rects, uint16_t count);
    // The whole surface shifted by (dx, dy); the uncovered strip of the
    // window keeps what it showed.
    void PresentOffset(int32_t dx, int32_t dy);

    // Every present also copies into this surface (the window's size), so
    // a check can see what the window shows. Null stops it.
    void MirrorTo(Surface* mirror) { mirror_ = mirror; }

private:
    void Mirror(const plat::CopyRect* copies, uint32_t count);

    // Enough for a frame's dirty rectangles, so presenting never allocates.
    static constexpr size_t kReservedCopies = 32;

    DisplaySurface surface_;
    std::vector<plat::CopyRect> copies_;
    Surface* mirror_ = nullptr;
};

}  // namespace gfx
