// Wave output in a browser without threads: the host pumps the device from
// its waits on the main thread. Each queued buffer is scheduled on the audio
// clock right after the one before it; once the clock has passed its end it
// is handed back, and the mixer refills it inside that notice. Until sound is
// allowed (the first tap or key), buffers pass silently at the same pace.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/audio/wave_out.h"

namespace plat {

// What the page offers: a clock in seconds and a way to play PCM at a time.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Seconds on the clock buffers are scheduled against.
    virtual double Now() = 0;
    // True while sound really plays; until then Now is the wall clock.
    virtual bool Running() = 0;
    // Plays 8-bit unsigned PCM starting at `when` (on the Now clock).
    virtual void Play(const uint8_t* data, uint32_t bytes, uint32_t channels, uint32_t rate, double when) = 0;
    // Silences everything scheduled.
    virtual void StopAll() = 0;
};

class WebWaveOut final : public WaveOut {
public:
    explicit WebWaveOut(AudioSink& sink) : audio_(sink) {}

    uint32_t DeviceCount() override { return 1; }
    bool Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) override;
    void Pause() override { paused_ = true; }
    void Restart() override { paused_ = false; }
    void Write(WaveBuffer* buffer) override;
    void Reset() override;
    void Close() override;
    bool HandsBackOnMainThread() const override { return true; }

    // Hands back what has been played and schedules what waits.
    void Pump();

    // Buffers scheduled ahead of the clock right now.
    uint32_t Ahead() const;
    // Times the clock overtook the schedule by more than a moment (a stall, a hidden page).
    uint32_t Underruns() const { return underruns_; }

private:
    struct Entry {
        WaveBuffer* buffer;
        bool scheduled;
        double end;  // on the sink's clock
    };
    void HandBackAll();

    AudioSink& audio_;
    WaveDoneSink* sink_ = nullptr;
    WaveFormat format_{};
    bool open_ = false;
    bool paused_ = false;
    bool running_ = false;  // the sink's clock the schedule is on
    std::deque<Entry> queue_;
    double nextStart_ = 0;
    uint32_t underruns_ = 0;
};

}  // namespace plat
