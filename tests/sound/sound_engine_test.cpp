#include <gtest/gtest.h>

#include <vector>

#include "sound/mixer_mailbox.h"
#include "sound/sound_engine.h"
#include "tests/sound/fake_wave_out.h"
#include "tests/sound/wave_bytes.h"

namespace {

using soundtest::FakeWaveOut;
using soundtest::FormatFields;
using soundtest::WaveBytes;

// A loaded sample over the file's body; the file is kept alive by the caller.
snd::Sample MakeSample(const WaveBytes& wave, bool loop = false, int32_t volume = 64) {
    snd::Sample s;
    EXPECT_TRUE(s.LoadFromBytes(wave.bytes.data(), static_cast<uint32_t>(wave.bytes.size())));
    s.SetLoop(loop);
    s.SetVolume(volume);
    return s;
}

WaveBytes Tone(uint32_t rate, uint8_t level, size_t bytes) {
    return WaveBytes(FormatFields{.rate = rate}).Chunk("data", std::vector<uint8_t>(bytes, level));
}

TEST(SoundEngine, OpensAtAKnownRateAndPrimesFiveShortSilentBuffers) {
    const uint32_t frames[][2] = {{11025, 298}, {22050, 588}, {44100, 1176}, {32000, 588}};
    for (const auto& [asked, perBuffer] : frames) {
        EXPECT_EQ(snd::ShapeForRate(asked).framesPerBuffer, perBuffer) << asked;
    }
    EXPECT_EQ(snd::ShapeForRate(32000).rate, 22050u);

    FakeWaveOut device;
    snd::SoundEngine engine(device);
    EXPECT_TRUE(engine.Close());  // never opened
    ASSERT_TRUE(engine.Open(32000, true));
    EXPECT_FALSE(engine.Open(44100, false));
    EXPECT_EQ(device.opens, 1);
    const plat::WaveFormat& f = device.format;
    EXPECT_EQ(std::vector<uint32_t>({f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign,
                                     f.bitsPerSample}),
              std::vector<uint32_t>({1, 2, 22050, 44100, 2, 8}));
    EXPECT_FALSE(device.paused);
    const std::vector<plat::WaveBuffer> queued = device.Queued();
    ASSERT_EQ(queued.size(), snd::kBufferCount);
    for (size_t i = 0; i < queued.size(); ++i) {
        EXPECT_EQ(queued[i].length, 8u);
        EXPECT_EQ(queued[i].data, queued[0].data + i * 588 * 2);
        EXPECT_EQ(std::vector<uint8_t>(queued[i].data, queued[i].data + 8), std::vector<uint8_t>(8, 128));
    }

    EXPECT_TRUE(engine.Close());
    EXPECT_TRUE(device.Queued().empty());  // the reset handed every buffer back
    EXPECT_TRUE(engine.Close());
    EXPECT_EQ(device.resets, 1);
    EXPECT_EQ(device.closes, 1);
    EXPECT_FALSE(engine.IsOpen());
    ASSERT_TRUE(engine.Open(11025, false));
    EXPECT_EQ(engine.FramesPerBuffer(), 298u);
}

TEST(SoundEngine, HandedBackBuffersReturnFullMixedAtAClampedVolume) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, false));
    const WaveBytes loud = Tone(22050, 255, 2000);
    EXPECT_EQ(engine.StartSample(snd::Sample{}), snd::kNoVoice);
    ASSERT_EQ(engine.StartSample(MakeSample(loud, false, 65)), 0);
    EXPECT_EQ(device.PlayOne().size(), 8u);  // a priming buffer
    const std::vector<plat::WaveBuffer> queued = device.Queued();
    ASSERT_EQ(queued.size(), snd::kBufferCount);
    ASSERT_EQ(queued.back().length, 588u);
    EXPECT_EQ(std::vector<uint8_t>(queued.back().data, queued.back().data + 588), std::vector<uint8_t>(588, 191));
}

TEST(SoundEngine, EightVoicesAtMostNoneStolenAndOneShotsFreeTheirs) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    const WaveBytes tone = Tone(22050, 200, 100);
    for (uint16_t i = 0; i < snd::kVoiceCount; ++i) EXPECT_EQ(engine.StartSample(MakeSample(tone, true)), i);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
    EXPECT_EQ(engine.ActiveVoiceCount(), 8u);
    engine.StopVoice(8);  // out of range: ignored
    engine.StopVoice(5);
    engine.StopVoice(2);
    EXPECT_EQ(engine.ActiveVoiceCount(), 6u);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), 2);  // lowest free first
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), 5);

    ASSERT_TRUE(engine.Close());
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
    ASSERT_TRUE(engine.Open(22050, true));
    const WaveBytes shortTone = Tone(11025, 255, 108);  // 100 bytes, 201 frames at step 128
    ASSERT_EQ(engine.StartSample(MakeSample(shortTone)), 0);
    for (uint32_t i = 0; i < snd::kBufferCount; ++i) device.PlayOne();
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
}

TEST(SoundEngine, TriesDevicesInOrderAndWithoutOneIsSilent) {
    const struct {
        uint32_t devices, refused;
        bool opens;
        std::vector<uint32_t> tried;
    } cases[] = {{3, 2, true, {0, 1, 2}}, {2, 2, false, {0, 1}}, {0, 0, false, {}}};
    for (const auto& c : cases) {
        FakeWaveOut device;
        device.devices = c.devices;
        device.refuseFirst = c.refused;
        snd::SoundEngine engine(device);
        EXPECT_EQ(engine.Open(22050, true), c.opens);
        EXPECT_EQ(device.openedIndices, c.tried);
        if (c.opens) continue;
        EXPECT_TRUE(device.Queued().empty());
        const WaveBytes tone = Tone(22050, 200, 100);
        EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
        engine.StopVoice(0);
        EXPECT_TRUE(engine.Close());
        EXPECT_EQ(device.closes, 0);
    }
}

// Without a mixing thread every notice is answered before it returns, and the
// buffers Close's reset hands back stay with the device unmixed.
TEST(SoundEngine, ADeviceOnTheMainThreadIsRefilledInsideItsNotice) {
    FakeWaveOut device;
    device.mainThread = true;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, false));
    const WaveBytes tone = Tone(22050, 192, 4000);
    ASSERT_EQ(engine.StartSample(MakeSample(tone)), 0);
    for (uint32_t i = 0; i < snd::kBufferCount; ++i) EXPECT_EQ(device.PlayOne().size(), 8u);
    const std::vector<plat::WaveBuffer> refilled = device.Queued();
    ASSERT_EQ(refilled.size(), snd::kBufferCount);
    EXPECT_EQ(refilled[0].length, 588u);
    EXPECT_EQ(refilled[0].data[0], 160);
    EXPECT_EQ(refilled[4].data[0], 160);
    EXPECT_TRUE(engine.Close());
    EXPECT_TRUE(device.Queued().empty());
}

TEST(MixerMailbox, ANoticeWithoutABufferIsNotAStop) {
    snd::MixerMailbox mailbox;
    plat::WaveBuffer buffer{nullptr, 0};
    mailbox.PostBufferDone(nullptr);
    mailbox.PostBufferDone(&buffer);
    EXPECT_EQ(mailbox.Wait(), &buffer);
    mailbox.PostStop();
    EXPECT_EQ(mailbox.Wait(), nullptr);
}

}  // namespace
