// The mixing thread's message queue: buffer-done notices from the device and
// the stop request from Close. Fixed size; posting never blocks.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/platform.h"

namespace snd {

class MixerMailbox {
public:
    // More notices than buffers in flight cannot come; a surplus is dropped.
    void PostBufferDone(plat::WaveBuffer* buffer);
    void PostStop();
    // Blocks until a notice or the stop request arrives. Null means stop.
    plat::WaveBuffer* Wait();
    // Forgets everything posted so far, stop request included.
    void Clear();

private:
    // More than the buffers ever in flight.
    static constexpr uint32_t kCapacity = 16;
    std::mutex mutex_;
    std::condition_variable wake_;
    plat::WaveBuffer* queue_[kCapacity] = {};
    uint32_t head_ = 0;
    uint32_t count_ = 0;
    bool stop_ = false;
};

}  // namespace snd
