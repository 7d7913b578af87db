#include "graphics/lz77.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace gfx {
namespace {

constexpr uint32_t kSlideLimit = kLzWindowSize / 2;  // 544
uint8_t* g_window = nullptr;

}  // namespace

void AllocateWindow() {
    g_window = new (std::nothrow) uint8_t[kLzWindowSize]();
    if (g_window == nullptr) {
        std::printf("lz77 : Memory allocation error. Exiting...\n");
        std::exit(1);
    }
}

void FreeWindow() {
    delete[] g_window;
    g_window = nullptr;
}

void DecodeAll(BitStream* in, BitStream* out) {
    if (in == nullptr || g_window == nullptr) return;
    uint8_t* const w = g_window;
    uint32_t s = 0;
    // Bytes past the caller's buffer would be dropped: stop once it is full.
    while (!in->atEnd && !StreamFull(out)) {
        uint32_t length = 1;
        if (ReadBits(1, in) == 0) {
            length = ReadBits(5, in) + 1;
            const uint32_t o = ReadBits(9, in);
            for (uint32_t k = 0; k < length; ++k) w[s + kLzHistory + k] = w[s + o + k];
        } else {
            w[s + kLzHistory] = static_cast<uint8_t>(ReadBits(8, in));
        }
        for (uint32_t k = 0; k < length; ++k) WriteBits(w[s + kLzHistory + k], 8, out);
        if (s + length < kSlideLimit) {
            s += length;
        } else {
            std::memmove(w, w + s + length, kSlideLimit - length);
            s = 0;
        }
    }
}

uint32_t DecodeResource(const plat::ResourceData& resource, uint8_t* out, uint32_t capacity) {
    SetOutputBuffer(out, capacity);
    ResetStreams();
    AllocateWindow();
    BitStream* in = OpenReadStream(resource);
    BitStream* written = OpenWriteStream();
    if (in != nullptr && written != nullptr) DecodeAll(in, written);
    const uint32_t produced = CloseBitStream(written);
    CloseBitStream(in);
    FreeWindow();
    SetOutputBuffer(nullptr, 0);
    return produced;
}

bool DecodePicture(uint16_t id, uint8_t* out, uint32_t capacity) {
    plat::ResourceData resource{};
    if (!plat::FindResource("PCT", id, resource)) return false;
    DecodeResource(resource, out, capacity);
    return true;
}

}  // namespace gfx
