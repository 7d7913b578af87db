// One of the mixer's eight slots.
#pragma once

#include <atomic>
#include <cstdint>

namespace snd {

struct SampleVoice {
    uint32_t volume = 0;  // 0..64
    bool loop = false;
    // Read without the lock by the free-voice search; everything else is
    // touched only under the engine's lock.
    std::atomic<bool> stopped{true};
    const uint8_t* data = nullptr;  // not owned
    uint32_t step = 0;              // 8.8 fixed point, sample positions per output frame
    uint32_t position = 0;          // 24.8 fixed point
    uint32_t end = 0;               // length x 256
};

constexpr uint32_t kVoiceCount = 8;

}  // namespace snd
