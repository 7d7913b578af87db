// A wave-output device without sound hardware: it plays its queued buffers at
// the real-time rate of the virtual clock and can keep everything it played
// for a WAV file. It lives on the main thread only: buffers are handed back
// inside AdvanceTo and refilled there, so a run never depends on a thread's
// timing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio/wave_out.h"
#include "platform/core/ring_queue.h"

namespace plat {

class HeadlessWaveOut final : public WaveOut {
public:
    ~HeadlessWaveOut() override;

    uint32_t DeviceCount() override { return 1; }
    bool Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) override;
    void Pause() override;
    void Restart() override;
    void Write(WaveBuffer* buffer) override;
    void Reset() override;
    void Close() override;
    bool HandsBackOnMainThread() const override { return true; }

    // Plays the buffers that the time since the last call has used up, handing
    // each one back as it finishes; the mixer queues it again before the next
    // one plays.
    void AdvanceTo(uint32_t tick);

    // Keeps every byte played from now on; Close writes them to `path` as a
    // WAV file in the format the device was opened with.
    void CaptureTo(const std::string& path);

private:
    void WriteCapture();

    WaveFormat format_{};
    WaveDoneSink* sink_ = nullptr;
    bool open_ = false;
    bool paused_ = false;
    RingQueue<WaveBuffer*> queue_;
    uint32_t lastTick_ = 0;
    uint64_t frameCredit_ = 0;  // frames x 1000 that the clock has paid for
    std::string capturePath_;
    std::vector<uint8_t> played_;
};

}  // namespace plat
