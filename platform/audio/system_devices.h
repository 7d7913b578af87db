// Which wave-output device SystemWaveOut hands out in this run.
#pragma once

#include "platform/audio/headless_wave_out.h"
#include "platform/audio/sdl_wave_out.h"

namespace plat {

enum class AudioDevice {
    kVirtual,  // tests and headless runs: the virtual-clock device
    kSdl,      // the desktop's sound card
    kNone,     // muted: there is no device, so the game runs silent
};

void UseAudioDevice(AudioDevice device);
HeadlessWaveOut& VirtualWaveOut();
SdlWaveOut& SdlDevice();  // the desktop passes it the system's device changes

}  // namespace plat
