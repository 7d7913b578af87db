// Sound pumped from the main thread's waits on the browser's audio clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/web/web_wave_out.h"
#include "sound/sound_engine.h"

namespace {

struct Played {
    std::vector<uint8_t> bytes;
    double when;
};

class FakeAudio final : public plat::AudioSink {
public:
    double now = 100.0;
    bool running = false;
    std::vector<Played> played;
    int stops = 0;

    double Now() override { return now; }
    bool Running() override { return running; }
    void Play(const uint8_t* data, uint32_t bytes, uint32_t channels, uint32_t rate, double when) override {
        EXPECT_EQ(channels, 2u);
        EXPECT_EQ(rate, 22050u);
        played.push_back({std::vector<uint8_t>(data, data + bytes), when});
    }
    void StopAll() override { ++stops; }
};

constexpr double kBufferSeconds = 588.0 / 22050.0;

// A 22050 Hz stereo sample of `bytes` at one level, as the sound files hold it.
std::vector<uint8_t> ToneFile(uint8_t level, uint32_t bytes) {
    std::vector<uint8_t> f = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0, 'd', 'a', 't', 'a'};
    for (int i = 0; i < 4; ++i) f.push_back(static_cast<uint8_t>(bytes >> (8 * i)));
    f.insert(f.end(), bytes, level);
    const auto riff = static_cast<uint32_t>(f.size() - 8);
    for (int i = 0; i < 4; ++i) f[4 + i] = static_cast<uint8_t>(riff >> (8 * i));
    return f;
}

class WebWaveOutTest : public ::testing::Test {
protected:
    // Starts a tone of `bytes` at level 192 on the engine.
    void PlayTone(uint32_t bytes) {
        tone = ToneFile(192, bytes);  // the sample plays from these bytes: they outlive it
        ASSERT_TRUE(sample.LoadFromBytes(tone.data(), static_cast<uint32_t>(tone.size())));
        ASSERT_NE(engine.StartSample(sample), snd::kNoVoice);
    }

    FakeAudio audio;
    std::vector<uint8_t> tone;
    snd::Sample sample;
    plat::WebWaveOut device{audio};
    snd::SoundEngine engine{device};
};

// The mixer's five buffers stay back to back ahead of the clock; each played comes back mixed at once.
TEST_F(WebWaveOutTest, KeepsFiveBuffersAheadOnTheAudioClockAndRestartsAfterAStall) {
    audio.running = true;
    ASSERT_TRUE(engine.Open(22050, true));
    device.Pump();
    ASSERT_EQ(audio.played.size(), 5u);  // the short priming buffers
    audio.now += 0.001;
    device.Pump();
    ASSERT_EQ(audio.played.size(), 10u);  // refilled at full length
    // The priming buffers ran out before the refills came: those start a moment ahead.
    EXPECT_NEAR(audio.played[5].when, audio.now + 0.02, 1e-9);
    for (size_t i = 5; i < 10; ++i) EXPECT_EQ(audio.played[i].bytes.size(), 588u * 2);
    for (size_t i = 6; i < 10; ++i) EXPECT_NEAR(audio.played[i].when - audio.played[i - 1].when, kBufferSeconds, 1e-9);
    EXPECT_EQ(device.Ahead(), 5u);

    PlayTone(8000);
    // Two buffers' worth of time: exactly two come back and go out again, after the rest.
    audio.now = audio.played[6].when + 0.0001 + kBufferSeconds;
    device.Pump();
    ASSERT_EQ(audio.played.size(), 12u);
    EXPECT_NEAR(audio.played[10].when, audio.played[9].when + kBufferSeconds, 1e-9);
    EXPECT_EQ(audio.played[10].bytes[0], 160);
    EXPECT_EQ(audio.played[11].bytes[1], 160);
    EXPECT_EQ(device.Ahead(), 5u);
    EXPECT_EQ(device.Underruns(), 0u);

    // A stall (a hidden page: timers slowed to a crawl) restarts the schedule from now.
    audio.now += 5.0;
    device.Pump();
    EXPECT_EQ(device.Underruns(), 1u);
    const size_t n = audio.played.size();
    EXPECT_GT(audio.played[n - 5].when, audio.now);
    EXPECT_LT(audio.played[n - 5].when, audio.now + 0.05);
}

TEST_F(WebWaveOutTest, BeforeSoundIsAllowedBuffersPassSilentlyAResetHandsThemBackAndPausedOnesWait) {
    ASSERT_TRUE(engine.Open(22050, true));
    PlayTone(200);
    for (int i = 0; i < 20; ++i) {
        device.Pump();
        audio.now += i < 19 ? 0.010 : 5.0;  // at last a long wait, as a hidden page's
    }
    device.Pump();
    EXPECT_TRUE(audio.played.empty());
    EXPECT_EQ(device.Underruns(), 0u);  // nothing was playing to stall
    // The short sound was mixed into a buffer nobody heard, and its voice is free again.
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);

    // The first gesture: the schedule moves to the audio clock, which starts near 0.
    audio.running = true;
    audio.now = 0.5;
    device.Pump();
    ASSERT_FALSE(audio.played.empty());
    EXPECT_GE(audio.played.front().when, 0.5);
    EXPECT_LT(audio.played.front().when, 0.5 + kBufferSeconds);
    // A reset hands everything back.
    const size_t played = audio.played.size();
    EXPECT_TRUE(engine.Close());  // reset, then close
    EXPECT_EQ(audio.stops, 2);
    EXPECT_EQ(device.Ahead(), 0u);
    device.Pump();  // closed: nothing more is played
    EXPECT_EQ(audio.played.size(), played);

    plat::WebWaveOut other(audio);
    const plat::WaveFormat eightBitStereo{1, 2, 22050, 44100, 2, 8, 0};
    const plat::WaveFormat sixteenBit{1, 2, 22050, 88200, 4, 16, 0};
    EXPECT_FALSE(other.Open(0, sixteenBit, nullptr));
    EXPECT_FALSE(other.Open(1, eightBitStereo, nullptr));
    ASSERT_TRUE(other.Open(0, eightBitStereo, nullptr));
    uint8_t bytes[8] = {};
    plat::WaveBuffer buffer{bytes, 8};
    other.Pause();
    other.Write(&buffer);
    other.Pump();
    EXPECT_EQ(other.Ahead(), 0u);
    other.Restart();
    other.Pump();
    EXPECT_EQ(other.Ahead(), 1u);
}

}  // namespace
