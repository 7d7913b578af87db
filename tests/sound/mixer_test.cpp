#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Voices {
    snd::SampleVoice v[snd::kVoiceCount];

    // `data` holds length + 1 bytes: the mixer plays the byte at `length` too.
    void Start(uint32_t i, const Bytes& data, uint32_t step = 256, uint32_t volume = 64, bool loop = false) {
        v[i].data = data.data();
        v[i].step = step;
        v[i].position = 0;
        v[i].end = static_cast<uint32_t>(data.size() - 1) * 256;
        v[i].volume = volume;
        v[i].loop = loop;
        v[i].stopped = false;
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
    Voices two;
    two.Start(0, data);
    two.Start(5, data);
    EXPECT_EQ(two.Mix(4), data);
    // Three sum to +190 and -192 before the clamp; wrapping would show 62 and 64.
    Voices three;
    for (uint32_t i = 0; i < 3; ++i) three.Start(i, data);
    EXPECT_EQ(three.Mix(4), data);

    Voices stopped;
    stopped.Start(2, data);
    stopped.Start(6, data);
    stopped.v[6].stopped = true;
    EXPECT_EQ(stopped.Mix(2), (Bytes{191, 64}));
    EXPECT_EQ(stopped.v[6].position, 0u);

    const Bytes wave = {10, 240, 128, 60, 90};
    Voices stereo;
    stereo.Start(0, wave);
    EXPECT_EQ(stereo.Mix(4, true), (Bytes{69, 69, 184, 184, 128, 128, 94, 94}));
}

}  // namespace
