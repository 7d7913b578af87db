// A sound ready for the mixer: points straight into a WAVE resource, so
// loading copies nothing and there is nothing to free.
#pragma once

#include <cstdint>

namespace snd {

constexpr int32_t kFullVolume = 64;

// Volumes outside 0..64 play at full volume, not muted.
constexpr uint32_t ClampVolume(int32_t volume) {
    return (volume < 0 || volume > kFullVolume) ? kFullVolume : static_cast<uint32_t>(volume);
}

class Sample {
public:
    // Fills data, rate and length from the WAVE resource `id`. On false the
    // sample is left as it was.
    bool LoadFromResource(uint16_t id);
    // The same from the bytes of a RIFF WAVE file: 8-bit mono PCM at 1000 to
    // 48000 Hz; anything else is refused.
    bool LoadFromBytes(const uint8_t* bytes, uint32_t size);

    void SetVolume(int32_t volume) { volume_ = static_cast<int32_t>(ClampVolume(volume)); }
    void SetLoop(bool loop) { loop_ = loop; }

    const uint8_t* Data() const { return data_; }
    uint32_t SampleRate() const { return sampleRate_; }
    // Bytes played: the data chunk less its last 8.
    uint32_t Length() const { return length_; }
    int32_t Volume() const { return volume_; }
    bool Loop() const { return loop_; }

private:
    const uint8_t* data_ = nullptr;
    uint32_t sampleRate_ = 0;
    uint32_t length_ = 0;
    int32_t volume_ = kFullVolume;
    bool loop_ = false;
};

}  // namespace snd
