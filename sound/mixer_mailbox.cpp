#include "sound/mixer_mailbox.h"

namespace snd {

void MixerMailbox::PostBufferDone(plat::WaveBuffer* buffer) {
    // A notice without a buffer has nothing to mix; in the queue it would read as stop.
    if (buffer == nullptr) return;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        if (count_ == kCapacity) return;
        queue_[(head_ + count_) % kCapacity] = buffer;
        ++count_;
    }
    wake_.notify_one();
}

void MixerMailbox::PostStop() {
    {
        std::lock_guard<std::mutex> hold(mutex_);
        stop_ = true;
    }
    wake_.notify_one();
}

plat::WaveBuffer* MixerMailbox::Wait() {
    std::unique_lock<std::mutex> hold(mutex_);
    wake_.wait(hold, [this] { return stop_ || count_ > 0; });
    if (stop_) return nullptr;
    plat::WaveBuffer* buffer = queue_[head_];
    head_ = (head_ + 1) % kCapacity;
    --count_;
    return buffer;
}

void MixerMailbox::Clear() {
    std::lock_guard<std::mutex> hold(mutex_);
    head_ = 0;
    count_ = 0;
    stop_ = false;
}

}  // namespace snd
