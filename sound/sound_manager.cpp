#include "sound/sound_manager.h"

#include <cstdio>
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
    char fields[64];
    std::snprintf(fields, sizeof fields, "\"id\":%u,\"music\":%s,\"loop\":%s", static_cast<unsigned>(id),
                  useMusicVolume ? "true" : "false", loop ? "true" : "false");
    plat::Trace("sound", fields);
    if (!engine_) return;
    Sample sample;
    sample.LoadFromResource(id);
    sample.SetLoop(loop);
    sample.SetVolume(useMusicVolume ? musicVolume_ : effectVolume_);
    engine_->StartSample(sample);
}

void SoundManager::StopAllSounds() {
    plat::Trace("sound", "\"stop\":true");
    if (!engine_) return;
    for (uint32_t voice = 0; voice < kVoiceCount; ++voice) engine_->StopVoice(voice);
}

}  // namespace snd
