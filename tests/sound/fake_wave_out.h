// A wave-output device the test drives by hand: it records what the engine
// asks of it and hands buffers back when told to.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/platform.h"

namespace soundtest {

class FakeWaveOut final : public plat::WaveOut {
public:
    uint32_t devices = 1;
    uint32_t refuseFirst = 0;  // this many opens fail before one succeeds
    bool mainThread = false;   // hands buffers back on the caller's thread, as the browser does

    bool HandsBackOnMainThread() const override { return mainThread; }

    uint32_t DeviceCount() override { return devices; }

    bool Open(uint32_t index, const plat::WaveFormat& f, plat::WaveDoneSink* s) override {
        std::lock_guard<std::mutex> hold(mutex_);
        openedIndices.push_back(index);
        if (refuseFirst > 0) {
            --refuseFirst;
            return false;
        }
        format = f;
        sink_ = s;
        ++opens;
        return true;
    }
    void Pause() override { paused = true; }
    void Restart() override { paused = false; }
    void Write(plat::WaveBuffer* buffer) override {
        {
            std::lock_guard<std::mutex> hold(mutex_);
            queue_.push_back(buffer);
            ++writes_;
        }
        written_.notify_all();
    }
    void Reset() override {
        std::deque<plat::WaveBuffer*> back;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            back.swap(queue_);
            ++resets;
        }
        for (plat::WaveBuffer* b : back) sink_->BufferDone(b);
    }
    void Close() override { ++closes; }

    // Plays the oldest queued buffer: returns its bytes, hands it back and
    // waits for the engine to queue it again.
    std::vector<uint8_t> PlayOne() {
        std::unique_lock<std::mutex> hold(mutex_);
        if (queue_.empty()) return {};
        plat::WaveBuffer* b = queue_.front();
        queue_.pop_front();
        std::vector<uint8_t> bytes(b->data, b->data + b->length);
        const uint32_t writesBefore = writes_;
        hold.unlock();
        sink_->BufferDone(b);
        hold.lock();
        written_.wait_for(hold, std::chrono::seconds(5), [&] { return writes_ > writesBefore; });
        return bytes;
    }

    std::vector<plat::WaveBuffer> Queued() {
        std::lock_guard<std::mutex> hold(mutex_);
        std::vector<plat::WaveBuffer> copy;
        for (const plat::WaveBuffer* b : queue_) copy.push_back(*b);
        return copy;
    }

    plat::WaveFormat format{};
    std::vector<uint32_t> openedIndices;
    int opens = 0;
    int closes = 0;
    int resets = 0;
    bool paused = false;

private:
    std::mutex mutex_;
    std::condition_variable written_;
    plat::WaveDoneSink* sink_ = nullptr;
    std::deque<plat::WaveBuffer*> queue_;
    uint32_t writes_ = 0;
};

}  // namespace soundtest
