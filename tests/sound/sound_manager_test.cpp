#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/audio/headless_wave_out.h"
#include "platform/testing.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint32_t kBytesPerMs = 22050 * 2 / 1000;  // stereo at 22050 Hz, rounded down
constexpr size_t kWavHeader = 44;

// What one voice makes of sound `id` at `volume` on the 22050 Hz stereo mixer.
std::vector<uint8_t> SoloMix(uint16_t id, int volume) {
    snd::Sample s;
    EXPECT_TRUE(s.LoadFromResource(id));
    const uint32_t step = s.SampleRate() * 256 / 22050;
    std::vector<uint8_t> out;
    for (uint32_t pos = 0; pos <= s.Length() * 256; pos += step) {
        const int value = std::clamp(((s.Data()[pos >> 8] - 128) * volume) >> 7, -128, 127) + 128;
        out.insert(out.end(), 2, static_cast<uint8_t>(value));
    }
    return out;
}

bool AllSilent(std::vector<uint8_t>::const_iterator from, std::vector<uint8_t>::const_iterator to) {
    return std::all_of(from, to, [](uint8_t b) { return b == 128; });
}

// A sound manager on the virtual-clock device, with everything it plays
// captured to a WAV file.
class HeadlessSound : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        path_ = ::testing::TempDir() + "sound_manager_test_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav";
        device_.CaptureTo(path_);
        manager_ = std::make_unique<snd::SoundManager>(device_);
    }

    void RunUntil(uint32_t tick) {
        for (; now_ < tick; now_ += 10) {
            plat::testing::SetTick(now_ + 10);
            device_.AdvanceTo(now_ + 10);
        }
    }

    // Closes the manager and reads back the captured samples.
    std::vector<uint8_t> Played() {
        manager_.reset();
        std::ifstream file(path_, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::remove(path_.c_str());
        EXPECT_GE(bytes.size(), kWavHeader);
        return std::vector<uint8_t>(bytes.begin() + static_cast<long>(std::min(bytes.size(), kWavHeader)),
                                    bytes.end());
    }

    plat::HeadlessWaveOut device_;
    std::unique_ptr<snd::SoundManager> manager_;
    std::string path_;
    uint32_t now_ = 0;
};

TEST_F(HeadlessSound, CapturedAudioHoldsTheMixOfAKnownSound) {
    manager_->PlaySound(544, false, false);
    RunUntil(1000);
    const std::vector<uint8_t> played = Played();
    // Five 8-byte primers, then whole 588-frame buffers as the clock allows.
    EXPECT_EQ(played.size(), 5 * 8 + (22050 - 20) / 588 * 1176u);

    const std::vector<uint8_t> expected = SoloMix(544, 64);
    ASSERT_FALSE(AllSilent(expected.begin(), expected.end()));
    const auto at = std::search(played.begin(), played.end(), expected.begin(), expected.end());
    ASSERT_NE(at, played.end()) << "the mix of sound 544 is not in the captured audio";
    EXPECT_TRUE(AllSilent(played.begin(), at));
    EXPECT_TRUE(AllSilent(at + static_cast<long>(expected.size()), played.end()));
    // Started within the five buffers in flight.
    EXPECT_LE(at - played.begin(), static_cast<long>(40 + 5 * 1176));
}

TEST_F(HeadlessSound, StopAllSoundsSilencesMusicAndEffects) {
    manager_->PlaySound(535, true, true);
    manager_->PlaySound(550, false, false);
    manager_->PlaySound(563, false, false);
    RunUntil(500);
    manager_->StopAllSounds();
    RunUntil(1500);
    const std::vector<uint8_t> played = Played();
    const auto stopAt = played.begin() + 500 * kBytesPerMs;
    EXPECT_FALSE(AllSilent(played.begin(), stopAt));
    // Whatever was already mixed has played out 134 ms later.
    EXPECT_TRUE(AllSilent(stopAt + 134 * kBytesPerMs, played.end()));
}

// Music at volume 0 is silent, an effect is not; a missing sound plays
// nothing; a sound keeps the volume it started with.
TEST_F(HeadlessSound, VolumesApplyToTheirOwnKindWhenASoundStarts) {
    manager_->SetMusicVolume(0);
    manager_->SetEffectVolume(100);  // out of range: full volume
    EXPECT_EQ(manager_->GetEffectVolume(), 100);
    manager_->PlaySound(535, true, true);
    manager_->PlaySound(536, false, false);  // no such sound
    RunUntil(600);
    manager_->PlaySound(544, false, false);
    manager_->SetEffectVolume(0);
    RunUntil(700);
    manager_->PlaySound(544, false, false);  // silent now
    RunUntil(1600);
    const std::vector<uint8_t> played = Played();
    const std::vector<uint8_t> expected = SoloMix(544, 64);
    const auto at = std::search(played.begin(), played.end(), expected.begin(), expected.end());
    ASSERT_NE(at, played.end());
    EXPECT_GT(at - played.begin(), static_cast<long>(500 * kBytesPerMs));
    EXPECT_TRUE(AllSilent(played.begin(), at));
    EXPECT_TRUE(AllSilent(at + static_cast<long>(expected.size()), played.end()));
}

}  // namespace
