// A wave-output device without sound hardware: it plays its queued buffers at
// the real-time rate of the virtual clock and can keep everything it played
// for a WAV file.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/wave_out.h"

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

    // Plays the buffers that the time since the last call has used up. Each
    // finished buffer is handed back and, so that a run always mixes the same
    // way, played on only once the mixer has queued it again.
    void AdvanceTo(uint32_t tick);

    // Keeps every byte played from now on; Close writes them to `path` as a
    // WAV file in the format the device was opened with.
    void CaptureTo(const std::string& path);

private:
    bool IsQueued(const WaveBuffer* buffer) const;
    void WriteCapture();

    std::mutex mutex_;
    std::condition_variable queued_;
    WaveFormat format_{};
    WaveDoneSink* sink_ = nullptr;
    bool open_ = false;
    bool paused_ = false;
    std::deque<WaveBuffer*> queue_;
    uint32_t lastTick_ = 0;
    uint64_t frameCredit_ = 0;  // frames x 1000 that the clock has paid for
    std::string capturePath_;
    std::vector<uint8_t> played_;
};

}  // namespace plat
