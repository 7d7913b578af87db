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

// A loaded sample over a body of `bytes`; the file is kept alive by the caller.
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

TEST(SoundEngine, BufferSizeFollowsTheRate) {
    EXPECT_EQ(snd::ShapeForRate(11025).framesPerBuffer, 298u);
    EXPECT_EQ(snd::ShapeForRate(22050).framesPerBuffer, 588u);
    EXPECT_EQ(snd::ShapeForRate(44100).framesPerBuffer, 1176u);
    const snd::OutputShape odd = snd::ShapeForRate(32000);
    EXPECT_EQ(odd.rate, 22050u);
    EXPECT_EQ(odd.framesPerBuffer, 588u);
}

TEST(SoundEngine, OpensTheDeviceAndPrimesFiveShortSilentBuffers) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(32000, true));
    EXPECT_EQ(device.format.formatTag, 1);
    EXPECT_EQ(device.format.channels, 2);
    EXPECT_EQ(device.format.samplesPerSec, 22050u);
    EXPECT_EQ(device.format.avgBytesPerSec, 44100u);
    EXPECT_EQ(device.format.blockAlign, 2);
    EXPECT_EQ(device.format.bitsPerSample, 8);
    EXPECT_FALSE(device.paused);

    const std::vector<plat::WaveBuffer> queued = device.Queued();
    ASSERT_EQ(queued.size(), snd::kBufferCount);
    for (size_t i = 0; i < queued.size(); ++i) {
        EXPECT_EQ(queued[i].length, 8u);
        EXPECT_EQ(queued[i].data, queued[0].data + i * 588 * 2);
        EXPECT_EQ(std::vector<uint8_t>(queued[i].data, queued[i].data + 8), std::vector<uint8_t>(8, 128));
    }
}

TEST(SoundEngine, HandedBackBuffersReturnFullAndMixed) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, false));
    const WaveBytes loud = Tone(22050, 255, 2000);
    ASSERT_EQ(engine.StartSample(MakeSample(loud)), 0);
    EXPECT_EQ(device.PlayOne().size(), 8u);  // a priming buffer
    const std::vector<plat::WaveBuffer> queued = device.Queued();
    ASSERT_EQ(queued.size(), snd::kBufferCount);
    const plat::WaveBuffer& refilled = queued.back();
    ASSERT_EQ(refilled.length, 588u);
    EXPECT_EQ(std::vector<uint8_t>(refilled.data, refilled.data + 588), std::vector<uint8_t>(588, 191));
}

TEST(SoundEngine, EightVoicesAtMostAndNoneIsStolen) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    const WaveBytes tone = Tone(22050, 200, 100);
    for (uint16_t i = 0; i < snd::kVoiceCount; ++i) EXPECT_EQ(engine.StartSample(MakeSample(tone, true)), i);
    EXPECT_EQ(engine.ActiveVoiceCount(), 8u);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
    EXPECT_EQ(engine.ActiveVoiceCount(), 8u);

    engine.StopVoice(8);  // out of range: ignored
    EXPECT_EQ(engine.ActiveVoiceCount(), 8u);
    engine.StopVoice(5);
    engine.StopVoice(2);
    EXPECT_EQ(engine.ActiveVoiceCount(), 6u);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), 2);  // lowest free first
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), 5);
}

TEST(SoundEngine, EmptySampleIsRefused) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    EXPECT_EQ(engine.StartSample(snd::Sample{}), snd::kNoVoice);
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
}

TEST(SoundEngine, OneShotsFreeTheirVoiceOnceMixedPastTheEnd) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    const WaveBytes shortTone = Tone(11025, 255, 108);  // 100 bytes, 201 frames at step 128
    ASSERT_EQ(engine.StartSample(MakeSample(shortTone)), 0);
    for (uint32_t i = 0; i < snd::kBufferCount; ++i) device.PlayOne();
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
}

TEST(SoundEngine, VolumeIsClampedWhenTheVoiceStarts) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, false));
    const WaveBytes loud = Tone(22050, 255, 2000);
    snd::Sample s = MakeSample(loud);
    s.SetVolume(65);
    ASSERT_EQ(engine.StartSample(s), 0);
    device.PlayOne();
    const plat::WaveBuffer refilled = device.Queued().back();
    EXPECT_EQ(refilled.data[0], 191);
}

TEST(SoundEngine, OpenTwiceAndCloseTwice) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    EXPECT_TRUE(engine.Close());  // never opened
    ASSERT_TRUE(engine.Open(22050, true));
    EXPECT_FALSE(engine.Open(44100, false));
    EXPECT_EQ(device.opens, 1);
    EXPECT_EQ(engine.OutputRate(), 22050u);
    EXPECT_EQ(device.Queued().size(), snd::kBufferCount);

    EXPECT_TRUE(engine.Close());
    EXPECT_TRUE(device.Queued().empty());  // the reset handed every buffer back
    EXPECT_TRUE(engine.Close());
    EXPECT_EQ(device.resets, 1);
    EXPECT_EQ(device.closes, 1);
    EXPECT_FALSE(engine.IsOpen());
}

TEST(SoundEngine, NoDeviceMeansSilence) {
    FakeWaveOut device;
    device.devices = 0;
    snd::SoundEngine engine(device);
    EXPECT_FALSE(engine.Open(22050, true));
    EXPECT_FALSE(engine.IsOpen());
    const WaveBytes tone = Tone(22050, 200, 100);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
    engine.StopVoice(0);
    EXPECT_TRUE(engine.Close());
    EXPECT_EQ(device.closes, 0);
}

TEST(SoundEngine, TriesDevicesInOrderUntilOneOpens) {
    FakeWaveOut device;
    device.devices = 3;
    device.refuseFirst = 2;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    EXPECT_EQ(device.openedIndices, (std::vector<uint32_t>{0, 1, 2}));

    FakeWaveOut none;
    none.devices = 2;
    none.refuseFirst = 2;
    snd::SoundEngine silent(none);
    EXPECT_FALSE(silent.Open(22050, true));
    EXPECT_TRUE(none.Queued().empty());
}

TEST(SoundEngine, ReopensAfterClose) {
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, true));
    const WaveBytes tone = Tone(22050, 200, 100);
    engine.StartSample(MakeSample(tone, true));
    ASSERT_TRUE(engine.Close());
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
    ASSERT_TRUE(engine.Open(11025, false));
    EXPECT_EQ(engine.FramesPerBuffer(), 298u);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), 0);
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
    EXPECT_EQ(device.resets, 1);
}

}  // namespace

namespace {

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
