#include "graphics/surface.h"

#include <cstddef>
#include <cstdint>
#include <new>

namespace gfx {
namespace {

uint32_t g_versions = 0;

}  // namespace

Surface::Surface(uint32_t w, uint32_t h) : version(++g_versions) {
    const uint64_t count = uint64_t{w} * h;
    // More than the machine can address is out of memory, not a short buffer.
    const bool fits = count <= SIZE_MAX / sizeof(uint16_t);
    pixels = count != 0 && fits ? new (std::nothrow) uint16_t[static_cast<size_t>(count)]() : nullptr;
    if (pixels == nullptr && count != 0) return;
    width = w;
    height = h;
    pitch = 2 * w;
    ownsPixels = true;
}

Surface::Surface(uint16_t* memory, uint32_t w, uint32_t h, uint32_t rowPitch)
    : pixels(memory), width(w), height(h), pitch(rowPitch), version(++g_versions) {}

void Surface::BeforeWrite() {
    BeforeRead();
    version = ++g_versions;
}

Surface::~Surface() {
    if (ownsPixels) delete[] pixels;
}

}  // namespace gfx
