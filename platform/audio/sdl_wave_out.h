// Wave output through SDL audio: unsigned 8-bit at the mixer's rate and
// channels, with a small SDL buffer so that the mixer's own buffers set the
// latency.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <deque>

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

private:
    static void Fill(void* self, Uint8* stream, int length);
    void FillLocked(Uint8* stream, uint32_t length);

    bool audioReady_ = false;
    bool onlyDefault_ = false;  // the system could not list its devices
    SDL_AudioDeviceID device_ = 0;
    WaveDoneSink* sink_ = nullptr;
    // Guarded by SDL's lock on the device.
    std::deque<WaveBuffer*> queue_;
    uint32_t playedOfFront_ = 0;
};

}  // namespace plat
