// The mixing step: integer only, nearest-lower sample, no panning.
#pragma once

#include <cstdint>

#include "sound/sample.h"
#include "sound/sample_voice.h"

namespace snd {

// Sets `voice` to play `sample` from its start at `outputRate` frames a second;
// it stays stopped, as the caller left it.
void StartVoice(SampleVoice& voice, const Sample& sample, uint32_t outputRate);

// Mixes `frames` output frames of the eight voices into `out` as unsigned
// 8-bit PCM (two equal bytes a frame in stereo), advancing the voices and
// stopping those that have played past their end.
void MixBuffer(SampleVoice (&voices)[kVoiceCount], uint8_t* out, uint32_t frames, bool stereo);

}  // namespace snd
