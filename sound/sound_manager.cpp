#include "sound/sound_manager.h"

#include <new>

namespace snd {

SoundManager::SoundManager() : SoundManager(plat::SystemWaveOut()) {}

SoundManager::SoundManager(plat::WaveOut& device) : engine_(new (std::nothrow) SoundEngine(device)) {
    if (engine_) engine_->Open(22050, true);
}

SoundManager::~SoundManager() {
    if (engine_) engine_->Close();
}

void SoundManager::PlaySound(uint16_t id, bool useMusicVolume, bool loop) {
    if (!engine_) return;
    Sample sample;
    sample.LoadFromResource(id);
    sample.SetLoop(loop);
    sample.SetVolume(useMusicVolume ? musicVolume_ : effectVolume_);
    engine_->StartSample(sample);
}

void SoundManager::StopAllSounds() {
    if (!engine_) return;
    for (uint32_t voice = 0; voice < kVoiceCount; ++voice) engine_->StopVoice(voice);
}

}  // namespace snd
