// A 5-6-5 pixel buffer, top row first.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"

namespace gfx {

// Whatever is left standing on a surface between frames; it is taken off
// before anyone else reads or writes that surface.
class StandingGuard {
public:
    virtual void TakeOffStanding() = 0;

protected:
    ~StandingGuard() = default;
};

class Surface {
public:
    Surface() = default;
    // Owns width x height black pixels, pitch 2 x width. Out of memory gives
    // an empty 0 x 0 surface.
    Surface(uint32_t width, uint32_t height);
    // Over memory someone else owns.
    Surface(uint16_t* pixels, uint32_t width, uint32_t height, uint32_t pitch);
    virtual ~Surface();

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    uint16_t* Row(int32_t y) { return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels) + y * pitch); }
    const uint16_t* Row(int32_t y) const {
        return reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(pixels) + y * pitch);
    }
    Colour At(int32_t x, int32_t y) const { return Row(y)[x]; }

    void BeforeRead() {
        if (guard != nullptr) guard->TakeOffStanding();
    }
    // Every write gets a new version, so a picture changed in place is seen.
    void BeforeWrite();

    uint16_t* pixels = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t pitch = 0;  // bytes from one row to the next
    bool ownsPixels = false;
    uint32_t version = 0;
    StandingGuard* guard = nullptr;
};

}  // namespace gfx
