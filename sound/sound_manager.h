// The one way the program makes sound: sounds are named by WAVE resource id,
// played at the effect or the music volume, once or looping.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/platform.h"
#include "sound/sound_engine.h"

namespace snd {

class SoundManager {
public:
    // Opens the mixer at 22050 Hz stereo on the system's device; without a
    // device every sound is simply not heard.
    SoundManager();
    explicit SoundManager(plat::WaveOut& device);
    virtual ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    void PlaySound(uint16_t id, bool useMusicVolume, bool loop);
    // Music included.
    void StopAllSounds();

    // Only stored: a sound keeps the volume it started with.
    void SetEffectVolume(int32_t volume) { effectVolume_ = volume; }
    int32_t GetEffectVolume() const { return effectVolume_; }
    void SetMusicVolume(int32_t volume) { musicVolume_ = volume; }

private:
    std::unique_ptr<SoundEngine> engine_;
    int32_t musicVolume_ = kFullVolume;
    int32_t effectVolume_ = kFullVolume;
};

}  // namespace snd
