#include "sound/mixer.h"

#include <algorithm>

namespace snd {

namespace {

// One voice at volume 64 spans half the output range, so two reach full
// scale and louder mixes clip.
uint8_t ToOutput(int32_t sum) { return static_cast<uint8_t>(std::clamp(sum >> 7, -128, 127) + 128); }

int32_t NextContribution(SampleVoice& v) {
    if (v.loop && v.position > v.end) v.position -= v.end;
    // Strictly greater: the byte at index `length` still plays; it lies inside
    // the data chunk.
    if (v.position > v.end) {
        v.stopped.store(true, std::memory_order_release);
        return 0;
    }
    const int32_t value = (static_cast<int32_t>(v.data[v.position >> 8]) - 128) * static_cast<int32_t>(v.volume);
    v.position += v.step;
    return value;
}

}  // namespace

void StartVoice(SampleVoice& voice, const Sample& sample, uint32_t outputRate) {
    voice.data = sample.Data();
    voice.step = static_cast<uint32_t>((uint64_t{sample.SampleRate()} * 256) / outputRate);
    voice.position = 0;
    voice.end = sample.Length() * 256;
    voice.loop = sample.Loop();
    voice.volume = ClampVolume(sample.Volume());
}

void MixBuffer(SampleVoice (&voices)[kVoiceCount], uint8_t* out, uint32_t frames, bool stereo) {
    for (uint32_t frame = 0; frame < frames; ++frame) {
        int32_t sum = 0;
        for (SampleVoice& v : voices) {
            if (!v.stopped.load(std::memory_order_relaxed)) sum += NextContribution(v);
        }
        // Voices are not panned: right always equals left.
        const uint8_t byte = ToOutput(sum);
        *out++ = byte;
        if (stereo) *out++ = byte;
    }
}

}  // namespace snd
