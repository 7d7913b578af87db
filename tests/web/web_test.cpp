// The page's mouse, touch and keys as the panel's messages, and sound pumped on the browser's audio clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/testing.h"
#include "platform/web/web_input.h"
#include "platform/web/web_wave_out.h"
#include "sound/sound_engine.h"

namespace {

using Phase = plat::WebInput::Phase;
constexpr int kLeft = plat::WebInput::kLeft;

class WebInputTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    // The messages waiting, as a recording writes them (points in the view).
    std::string Drain() {
        std::string out;
        plat::Machine& machine = plat::Machine::Get();
        for (plat::Message m{}; machine.HasMessages() && machine.GetMessage(m);) {
            out += plat::FormatScriptLine(m, 0).substr(2) + ";";
        }
        return out;
    }

    plat::WebInput input{plat::Machine::Get()};
};

TEST_F(WebInputTest, MouseAndFirstFingerAreOneClampedStrokeKeysFollowTheDesktopTableAndTheLayoutAndFocusLossLetsGo) {
    EXPECT_TRUE(input.Mouse(Phase::kDown, kLeft, 0.5, 1.0, 640, 480));  // a canvas of 640 x 480 CSS pixels
    EXPECT_TRUE(input.Mouse(Phase::kDown, kLeft, 10, 10, 640, 480));  // already down
    input.Mouse(Phase::kMove, -1, 639.9, 479.9, 640, 480);
    std::string m = Drain();
    input.Mouse(Phase::kMove, -1, -300, 900, 640, 480);  // dragged off the canvas
    input.Mouse(Phase::kUp, kLeft, 700, -5, 640, 480);
    input.Mouse(Phase::kMove, -1, 20, 20, 640, 480);  // a hover is nothing
    EXPECT_EQ(m + Drain(), "down 0 0;move 319 239;move 0 239;up 319 0;");
    EXPECT_FALSE(input.PenDown());
    input.Mouse(Phase::kDown, kLeft, -1, 10, 320, 240);  // beside the canvas
    EXPECT_FALSE(input.Mouse(Phase::kDown, 1, 10, 10, 320, 240));  // the middle button is the page's
    input.Mouse(Phase::kUp, kLeft, 10, 10, 320, 240);
    input.Mouse(Phase::kDown, kLeft, 10, 10, 0, 0);  // a canvas not laid out yet
    EXPECT_EQ(Drain(), "");
    input.Mouse(Phase::kDown, plat::WebInput::kRight, 10, 10, 320, 240);  // the right button is the reload button
    input.Mouse(Phase::kUp, plat::WebInput::kRight, 10, 10, 320, 240);
    EXPECT_EQ(Drain(), "hotkey 0xC3;keyup 0xC3;");
    // The first finger holds the stylus until it lifts.
    input.Touch(Phase::kDown, 7, 100, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 200, 200, 320, 240);  // a second finger
    input.Mouse(Phase::kDown, kLeft, 50, 50, 320, 240);  // a mouse meanwhile
    input.Touch(Phase::kMove, 8, 210, 210, 320, 240);
    input.Touch(Phase::kMove, 7, 110, 100, 320, 240);
    input.Touch(Phase::kUp, 8, 210, 210, 320, 240);
    input.Touch(Phase::kUp, 7, 110, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 20, 30, 320, 240);  // now the other finger may
    EXPECT_EQ(Drain(), "down 100 100;move 110 100;up 110 100;down 20 30;");
    const struct {
        bool down;
        const char* code;
        const char* key;
        bool repeat, ctrl, alt, taken;
    } keys[] = {
        {true, "ArrowLeft", "ArrowLeft", false, false, false, true},
        {true, "ArrowLeft", "ArrowLeft", true, false, false, true},  // the system's repeat
        {false, "ArrowLeft", "ArrowLeft", false, false, false, true},
        {true, "Space", " ", false, false, false, true},
        {true, "NumpadEnter", "Enter", false, false, false, true},  // also types its character
        {true, "KeyR", "r", false, true, false, false},             // Ctrl+R reloads the page
        {true, "ArrowUp", "ArrowUp", false, false, true, false},
        {false, "ArrowUp", "ArrowUp", false, false, true, true},  // a release always counts
        {true, "F5", "F5", false, false, false, false},
        {false, "KeyQ", "q", false, false, false, false},
        {true, "Digit1", "&", false, false, false, true},  // a French keyboard's 1 key
        {true, "Digit2", "2", false, false, false, true},
        {true, "KeyQ", "A", false, false, false, true},
        {true, "Backspace", "Backspace", false, false, false, true},
        {true, "Escape", "Escape", false, false, false, true},
        {true, "Minus", "-", false, false, false, false},
        {true, "KeyA", "a", false, false, true, false},  // Alt+A is the browser's
    };
    for (const auto& k : keys) EXPECT_EQ(input.Key(k.down, k.code, k.key, k.repeat, k.ctrl, k.alt), k.taken) << k.code;
    // The player's left is the panel's down.
    EXPECT_EQ(Drain(),
              "keydown 0x28;keyup 0x28;hotkey 0xC3;keydown 0x0D;char enter;keyup 0x25;hotkey 0xC1;hotkey 0xC2;"
              "char 2;char A;char backspace;char escape;");
    // Losing the focus lets go of everything held.
    input.Key(true, "ArrowRight", "ArrowRight", false, false, false);
    input.Key(true, "Digit4", "4", false, false, false);
    input.Key(true, "Enter", "Enter", false, false, false);
    input.Key(false, "Enter", "Enter", false, false, false);
    input.Mouse(Phase::kDown, kLeft, 40, 60, 320, 240);  // ignored: the finger still holds the stylus
    Drain();
    input.FocusLost();
    EXPECT_EQ(Drain(), "keyup 0x26;keyup 0xC1;keyup 0xC2;keyup 0xC3;keyup 0xC4;up 20 30;focus-lost;");
    // Nothing is held any more: a second loss only says so.
    input.FocusLost();
    EXPECT_EQ(Drain(), "focus-lost;");
}

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
    EXPECT_NEAR(audio.played[n - 5].when, audio.now + 0.025, 0.025);  // just ahead of now
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

    // The first gesture: the schedule moves to the audio clock, which starts near 0. A reset hands everything back.
    audio.running = true;
    audio.now = 0.5;
    device.Pump();
    ASSERT_FALSE(audio.played.empty());
    EXPECT_NEAR(audio.played.front().when, 0.5 + kBufferSeconds / 2, kBufferSeconds / 2);
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
