// Loading WAVE files into samples, and mixing voices.
#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer.h"
#include "sound/sample.h"
#include "tests/sound/wave_bytes.h"

namespace {

using Bytes = std::vector<uint8_t>;
using soundtest::FormatFields;
using soundtest::WaveBytes;

Bytes Ramp(size_t n) {
    Bytes body(n);
    for (size_t i = 0; i < n; ++i) body[i] = static_cast<uint8_t>(i * 7 + 3);
    return body;
}

bool Load(snd::Sample& sample, const Bytes& bytes) { return sample.LoadFromBytes(bytes.data(), static_cast<uint32_t>(bytes.size())); }

Bytes Plain(const FormatFields& format) { return WaveBytes(format).Chunk("data", Ramp(20)).bytes; }

TEST(SampleLoader, ReadsRateLengthAndBodyWalkingOverOtherChunks) {
    const Bytes plain = WaveBytes(FormatFields{.rate = 11025}).Chunk("data", Ramp(40)).bytes;
    snd::Sample s;
    ASSERT_TRUE(Load(s, plain));
    EXPECT_TRUE(s.SampleRate() == 11025u && s.Length() == 32u);  // the last 8 bytes never play
    EXPECT_TRUE(s.Data() == plain.data() + 44 && s.Volume() == 64 && !s.Loop());
    // An 18-byte format chunk and an odd-sized LIST: the walk steps by the declared sizes exactly.
    const Bytes walked = WaveBytes(FormatFields{.chunkSize = 18}).Chunk("LIST", Ramp(5)).Chunk("DISP", Ramp(12)).Chunk("data", Ramp(30)).bytes;
    ASSERT_TRUE(Load(s, walked));
    EXPECT_TRUE(s.Data() == walked.data() + 12 + 26 + 13 + 20 + 8 && s.Length() == 22u);
    for (const uint32_t rate : {1000u, 48000u}) {
        ASSERT_TRUE(Load(s, Plain({.rate = rate})));
        EXPECT_EQ(s.SampleRate(), rate);
    }
    ASSERT_TRUE(Load(s, WaveBytes().Chunk("data", Ramp(8)).bytes));
    EXPECT_EQ(s.Length(), 0u);
    for (const auto& [set, want] : {std::pair{-1, 64}, {65, 64}, {0, 0}, {37, 37}}) {  // outside: full
        s.SetVolume(set);
        EXPECT_EQ(s.Volume(), want) << set;
    }
}

TEST(SampleLoader, RefusesAnythingElseAndKeepsTheSampleAsItWas) {
    const auto spoiled = [](size_t at, size_t size) {
        Bytes bytes = Plain({});
        bytes.resize(size);
        if (at < size) bytes[at] = 'L';
        return bytes;
    };
    const Bytes refused[] = {
        Plain({.bits = 16}), Plain({.channels = 2}), Plain({.rate = 0}),
        Plain({.formatTag = 3}),  // compressed or floating-point data would be noise
        Plain({.rate = 86}),      // the step at 22050 Hz is 0: the voice would never end
        Plain({.rate = 999}), Plain({.rate = 48001}),
        Plain({.chunkSize = 14}),  // a format chunk too small for its fields
        Plain({.chunkSize = 0xFFFFFFFFu}),
        spoiled(0, 64), spoiled(8, 64), spoiled(12, 64),  // RIFF, WAVE, "fmt " out of place
        spoiled(64, 35),                                  // format fields cut short
        WaveBytes().Chunk("data", Ramp(7)).bytes,         // shorter than the 8 bytes that never play
        WaveBytes().Chunk("LIST", Ramp(10)).bytes,        // no data chunk
        // Chunk sizes that point far past the end, or wrap 32 bits.
        WaveBytes().Chunk("LIST", Ramp(4), 0xFFFFFFF0u).Chunk("data", Ramp(20)).bytes,
        WaveBytes().Chunk("LIST", Ramp(4)).Tag("data").Le(20, 1).bytes,  // a header cut in half
        // More data than the resource holds would make the mixer read past it.
        WaveBytes().Chunk("data", Ramp(40), 400).bytes,
    };
    snd::Sample s;
    const Bytes good = Plain({});
    ASSERT_TRUE(Load(s, good));
    for (size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(Load(s, refused[i])) << i;
        EXPECT_TRUE(s.Data() == good.data() + 44 && s.Length() == 12u) << i;
    }
    EXPECT_FALSE(s.LoadFromBytes(nullptr, 100));
    snd::Sample fresh;
    EXPECT_FALSE(Load(fresh, refused[0]) || fresh.LoadFromResource(536));  // no such sound
    EXPECT_EQ(fresh.Data(), nullptr);
}

struct Voices {
    snd::SampleVoice v[snd::kVoiceCount];

    // `data` holds length + 1 bytes: the mixer plays the byte at `length` too.
    void Start(uint32_t i, const Bytes& data, uint32_t step = 256, uint32_t volume = 64, bool loop = false) {
        v[i].data = data.data();
        v[i].position = 0;
        v[i].stopped = false;
        v[i].step = step;
        v[i].end = static_cast<uint32_t>(data.size() - 1) * 256;
        v[i].volume = volume;
        v[i].loop = loop;
    }
    Bytes Mix(uint32_t frames, bool stereo = false) {
        Bytes out((frames << (stereo ? 1 : 0)) + 1, 0xEE);
        snd::MixBuffer(v, out.data(), frames, stereo);
        EXPECT_EQ(out.back(), 0xEE) << "wrote past the buffer";
        out.pop_back();
        return out;
    }
};

TEST(Mixer, OneVoiceByStepVolumeAndLoop) {
    const struct {
        const char* what;
        Bytes data;
        uint32_t step, volume;
        bool loop;
        Bytes out;
        bool stopped;
    } cases[] = {
        // (b - 128) * 64 >> 7, shifted arithmetically: -1 * 64 >> 7 is -1.
        {"full", {255, 0, 128, 127, 129, 200}, 256, 64, false, {191, 64, 128, 127, 128, 164}, false},
        {"half volume", {255, 0, 255}, 256, 32, false, {159, 96, 159}, false},
        {"muted", {255, 0, 255}, 256, 0, false, {128, 128, 128}, false},
        {"half rate", {0, 64, 192, 255, 128}, 128, 64, false, {64, 64, 96, 96, 160, 160}, false},
        {"double rate", {0, 64, 192, 255, 128}, 512, 64, false, {64, 160, 128, 128}, true},
        // A one-shot plays the byte at its length, then stops.
        {"one shot", {255, 255, 255, 0}, 256, 64, false, {191, 191, 191, 64, 128, 128}, true},
        // end = 4 * 256: index 4 still plays, then the position drops by `end`.
        {"loop", {0, 64, 128, 192, 255}, 256, 64, true, {64, 96, 128, 160, 191, 96, 128, 160, 191, 96}, false},
    };
    for (const auto& c : cases) {
        Voices voices;
        voices.Start(0, c.data, c.step, c.volume, c.loop);
        EXPECT_EQ(voices.Mix(static_cast<uint32_t>(c.out.size())), c.out) << c.what;
        EXPECT_EQ(voices.v[0].stopped, c.stopped) << c.what;
    }
    EXPECT_EQ(Voices().Mix(16), Bytes(16, 128));
}

TEST(Mixer, VoicesAddUpClampStereoAndSkipStopped) {
    const Bytes data = {255, 0, 255, 0};
    Voices two, three, stopped, stereo;
    two.Start(0, data);
    two.Start(5, data);
    EXPECT_EQ(two.Mix(4), data);
    for (uint32_t i = 0; i < 3; ++i) three.Start(i, data);
    EXPECT_EQ(three.Mix(4), data);  // +190 and -192 before the clamp; wrapping would show 62 and 64
    stopped.Start(2, data);
    stopped.Start(6, data);
    stopped.v[6].stopped = true;
    EXPECT_EQ(stopped.Mix(2), (Bytes{191, 64}));
    EXPECT_EQ(stopped.v[6].position, 0u);
    const Bytes wave = {10, 240, 128, 60, 90};
    stereo.Start(0, wave);
    EXPECT_EQ(stereo.Mix(4, true), (Bytes{69, 69, 184, 184, 128, 128, 94, 94}));
}

}  // namespace
