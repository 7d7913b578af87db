// Wave output through SDL audio: unsigned 8-bit at the mixer's rate and
// channels, with a small SDL buffer so that the mixer's own buffers set the
// latency. Device 0 is the system's default output, the listed devices follow.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/audio/wave_out.h"

namespace plat {

class SdlWaveOut final : public WaveOut {
public:
    ~SdlWaveOut() override;

    uint32_t DeviceCount() override;
    bool Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) override;
    void Pause() override;
    void Restart() override;
    void Write(WaveBuffer* buffer) override;
    void Reset() override;
    void Close() override;

    // The system took an output device away. When it was ours, the system's
    // default is opened in its place and the queued buffers play on there;
    // with no device left they wait until one is added.
    void DeviceRemoved(SDL_AudioDeviceID which);
    void DeviceAdded();
    SDL_AudioDeviceID Device() const { return device_; }

    // Muted, the device plays silence in place of the buffers and still hands
    // them back in time, so the mixer goes on as if they were heard.
    void SetMuted(bool muted) { muted_ = muted; }
    bool Muted() const { return muted_; }

private:
    static void Fill(void* self, Uint8* stream, int length);
    void FillQueued(Uint8* stream, uint32_t length);
    bool OpenDevice(const char* name);

    bool audioReady_ = false;
    SDL_AudioDeviceID device_ = 0;
    bool lost_ = false;    // open, but the device went away and none took its place yet
    bool paused_ = false;
    std::atomic<bool> muted_{false};
    SDL_AudioSpec wanted_{};
    WaveDoneSink* sink_ = nullptr;
    std::mutex mutex_;  // the queue: the mixer writes, SDL's audio thread plays
    bool open_ = false;
    std::deque<WaveBuffer*> queue_;
    uint32_t playedOfFront_ = 0;
};

}  // namespace plat
