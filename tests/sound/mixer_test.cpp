#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer.h"

namespace {

struct Voices {
    snd::SampleVoice v[snd::kVoiceCount];

    // `data` holds length + 1 bytes: the mixer plays the byte at `length` too.
    void Start(uint32_t i, const std::vector<uint8_t>& data, uint32_t step = 256, uint32_t volume = 64,
               bool loop = false) {
        v[i].data = data.data();
        v[i].step = step;
        v[i].position = 0;
        v[i].end = static_cast<uint32_t>(data.size() - 1) * 256;
        v[i].volume = volume;
        v[i].loop = loop;
        v[i].stopped = false;
    }

    std::vector<uint8_t> Mix(uint32_t frames, bool stereo = false) {
        std::vector<uint8_t> out((frames << (stereo ? 1 : 0)) + 1, 0xEE);
        snd::MixBuffer(v, out.data(), frames, stereo);
        EXPECT_EQ(out.back(), 0xEE) << "wrote past the buffer";
        out.pop_back();
        return out;
    }
};

TEST(Mixer, SilentWithNoVoices) {
    Voices voices;
    EXPECT_EQ(voices.Mix(16), std::vector<uint8_t>(16, 128));
}

TEST(Mixer, OneFullVoiceSpansHalfScale) {
    const std::vector<uint8_t> data = {255, 0, 128, 127, 129, 200};
    Voices voices;
    voices.Start(0, data);
    // (b - 128) * 64 >> 7, shifted arithmetically: -1 * 64 >> 7 is -1.
    EXPECT_EQ(voices.Mix(6), (std::vector<uint8_t>{191, 64, 128, 127, 128, 164}));
}

TEST(Mixer, VolumeScalesTheContribution) {
    const std::vector<uint8_t> data = {255, 0, 255};
    Voices voices;
    voices.Start(0, data, 256, 32);
    EXPECT_EQ(voices.Mix(3), (std::vector<uint8_t>{159, 96, 159}));
    Voices muted;
    muted.Start(0, data, 256, 0);
    EXPECT_EQ(muted.Mix(3), std::vector<uint8_t>(3, 128));
}

TEST(Mixer, TwoFullVoicesReachFullScaleAndThreeClip) {
    const std::vector<uint8_t> data = {255, 0, 255, 0};
    Voices two;
    two.Start(0, data);
    two.Start(5, data);
    EXPECT_EQ(two.Mix(4), (std::vector<uint8_t>{255, 0, 255, 0}));

    // Three sum to +190 and -192 before the clamp; wrapping would show 62 and 64.
    Voices three;
    for (uint32_t i = 0; i < 3; ++i) three.Start(i, data);
    EXPECT_EQ(three.Mix(4), (std::vector<uint8_t>{255, 0, 255, 0}));
}

TEST(Mixer, StereoWritesEqualPairs) {
    const std::vector<uint8_t> data = {10, 240, 128, 60, 90};
    Voices mono;
    mono.Start(0, data);
    const std::vector<uint8_t> left = mono.Mix(5);
    Voices stereo;
    stereo.Start(0, data);
    const std::vector<uint8_t> pairs = stereo.Mix(5, true);
    ASSERT_EQ(pairs.size(), 10u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(pairs[2 * i], left[i]);
        EXPECT_EQ(pairs[2 * i + 1], left[i]);
    }
}

TEST(Mixer, StepsRepeatOrSkipBytes) {
    const std::vector<uint8_t> data = {0, 64, 192, 255, 128};
    Voices slow;
    slow.Start(0, data, 128);  // 11025 Hz on 22050
    EXPECT_EQ(slow.Mix(6), (std::vector<uint8_t>{64, 64, 96, 96, 160, 160}));
    Voices fast;
    fast.Start(0, data, 512);  // 44100 Hz on 22050
    EXPECT_EQ(fast.Mix(4), (std::vector<uint8_t>{64, 160, 128, 128}));
    EXPECT_TRUE(fast.v[0].stopped);
}

TEST(Mixer, OneShotPlaysTheByteAtItsLengthThenStops) {
    const std::vector<uint8_t> data = {255, 255, 255, 0};  // length 3
    Voices voices;
    voices.Start(0, data);
    EXPECT_EQ(voices.Mix(6), (std::vector<uint8_t>{191, 191, 191, 64, 128, 128}));
    EXPECT_TRUE(voices.v[0].stopped);
}

TEST(Mixer, LoopWrapsPastTheEndBackToIndexOne) {
    // end = 4 * 256: index 4 still plays, then the position drops by `end`.
    const std::vector<uint8_t> data = {0, 64, 128, 192, 255};
    Voices voices;
    voices.Start(0, data, 256, 64, true);
    EXPECT_EQ(voices.Mix(10), (std::vector<uint8_t>{64, 96, 128, 160, 191, 96, 128, 160, 191, 96}));
    EXPECT_FALSE(voices.v[0].stopped);
}

TEST(Mixer, StoppedVoicesAddNothing) {
    const std::vector<uint8_t> data = {255, 255, 255};
    Voices voices;
    voices.Start(2, data);
    voices.Start(6, data);
    voices.v[6].stopped = true;
    EXPECT_EQ(voices.Mix(2), (std::vector<uint8_t>{191, 191}));
    EXPECT_EQ(voices.v[6].position, 0u);
}

}  // namespace
