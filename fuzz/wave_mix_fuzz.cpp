// Arbitrary bytes as a WAVE resource: a sample the loader takes lies inside
// the bytes, and mixed to its end it stops within the frames its length and
// rate allow.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "fuzz/require.h"
#include "sound/mixer.h"
#include "sound/sample.h"

namespace {

constexpr uint32_t kOutputRates[] = {11025, 22050, 44100};
constexpr uint32_t kChunkFrames = 1024;

}  // namespace

// Input: one byte choosing the output rate, stereo and volume, then the file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t choice = data[0];
    const size_t fileSize = size - 1;
    std::unique_ptr<uint8_t[]> file(new uint8_t[fileSize]);
    if (fileSize != 0) std::memcpy(file.get(), data + 1, fileSize);

    snd::Sample sample;
    if (!sample.LoadFromBytes(file.get(), static_cast<uint32_t>(fileSize))) return 0;
    // The mixer reads up to the byte at `length`.
    FUZZ_REQUIRE(sample.Data() >= file.get() && sample.Data() + sample.Length() < file.get() + fileSize);
    sample.SetVolume(choice >> 2);

    const uint32_t rate = kOutputRates[choice % 3];
    const bool stereo = (choice & 0x80) != 0;
    snd::SampleVoice voices[snd::kVoiceCount];
    snd::StartVoice(voices[0], sample, rate);
    FUZZ_REQUIRE(voices[0].step != 0);
    voices[0].stopped.store(false);
    const uint64_t allowed = uint64_t{voices[0].end} / voices[0].step + 2;
    uint8_t out[kChunkFrames * 2];
    uint64_t mixed = 0;
    while (!voices[0].stopped.load()) {
        FUZZ_REQUIRE(mixed <= allowed);
        snd::MixBuffer(voices, out, kChunkFrames, stereo);
        mixed += kChunkFrames;
    }
    return 0;
}
