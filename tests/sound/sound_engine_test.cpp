// The sound engine on a device the test drives by hand, and the sound manager
// on the virtual-clock device with what it plays captured.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/headless_wave_out.h"
#include "platform/testing.h"
#include "sound/mixer_mailbox.h"
#include "sound/sound_engine.h"
#include "sound/sound_manager.h"
#include "tests/sound/wave_bytes.h"

namespace {

using soundtest::FormatFields;
using soundtest::WaveBytes;

// Records what the engine asks of it and hands buffers back when told to.
class FakeWaveOut final : public plat::WaveOut {
public:
    uint32_t devices = 1;
    uint32_t refuseFirst = 0;  // this many opens fail before one succeeds
    bool mainThread = false;   // hands buffers back on the caller's thread, as the browser does

    bool HandsBackOnMainThread() const override { return mainThread; }
    uint32_t DeviceCount() override { return devices; }
    bool Open(uint32_t index, const plat::WaveFormat& f, plat::WaveDoneSink* s) override {
        std::lock_guard<std::mutex> hold(mutex_);
        openedIndices.push_back(index);
        if (refuseFirst > 0) return --refuseFirst, false;
        format = f;
        sink_ = s;
        ++opens;
        return true;
    }
    void Pause() override { paused = true; }
    void Restart() override { paused = false; }
    void Write(plat::WaveBuffer* buffer) override {
        std::lock_guard<std::mutex> hold(mutex_);
        queue_.push_back(buffer);
        ++writes_;
        written_.notify_all();
    }
    void Reset() override {
        std::deque<plat::WaveBuffer*> back;
        {
            std::lock_guard<std::mutex> hold(mutex_);
            back.swap(queue_);
            ++resets;
        }
        for (plat::WaveBuffer* b : back) sink_->BufferDone(b);
    }
    void Close() override { ++closes; }

    // Plays the oldest queued buffer: returns its bytes, hands it back and
    // waits for the engine to queue it again.
    std::vector<uint8_t> PlayOne() {
        std::unique_lock<std::mutex> hold(mutex_);
        if (queue_.empty()) return {};
        plat::WaveBuffer* b = queue_.front();
        queue_.pop_front();
        std::vector<uint8_t> bytes(b->data, b->data + b->length);
        const uint32_t writesBefore = writes_;
        hold.unlock();
        sink_->BufferDone(b);
        hold.lock();
        written_.wait_for(hold, std::chrono::seconds(5), [&] { return writes_ > writesBefore; });
        return bytes;
    }
    std::vector<plat::WaveBuffer> Queued() {
        std::lock_guard<std::mutex> hold(mutex_);
        std::vector<plat::WaveBuffer> copy;
        for (const plat::WaveBuffer* b : queue_) copy.push_back(*b);
        return copy;
    }

    plat::WaveFormat format{};
    std::vector<uint32_t> openedIndices;
    int opens = 0, closes = 0, resets = 0;
    bool paused = false;

private:
    std::mutex mutex_;
    std::condition_variable written_;
    plat::WaveDoneSink* sink_ = nullptr;
    std::deque<plat::WaveBuffer*> queue_;
    uint32_t writes_ = 0;
};

// A loaded sample over a tone's body; the tone is kept alive by the caller.
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

// Five short silent buffers prime the device; Close hands every one back.
TEST(SoundEngine, OpensAtAKnownRatePrimesSilenceAndRefillsMixedBuffers) {
    for (const auto& [asked, perBuffer] : {std::pair{11025u, 298u}, {22050u, 588u}, {44100u, 1176u}, {32000u, 588u}}) {
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
    EXPECT_EQ(std::vector<uint32_t>({f.formatTag, f.channels, f.samplesPerSec, f.avgBytesPerSec, f.blockAlign, f.bitsPerSample}),
              std::vector<uint32_t>({1, 2, 22050, 44100, 2, 8}));
    EXPECT_FALSE(device.paused);
    std::vector<plat::WaveBuffer> queued = device.Queued();
    ASSERT_EQ(queued.size(), snd::kBufferCount);
    for (size_t i = 0; i < queued.size(); ++i) {
        EXPECT_TRUE(queued[i].length == 8u && queued[i].data == queued[0].data + i * 588 * 2);
        EXPECT_EQ(std::vector<uint8_t>(queued[i].data, queued[i].data + 8), std::vector<uint8_t>(8, 128));
    }
    const WaveBytes loud = Tone(22050, 255, 2000);
    EXPECT_EQ(engine.StartSample(snd::Sample{}), snd::kNoVoice);
    ASSERT_EQ(engine.StartSample(MakeSample(loud, false, 65)), 0);
    EXPECT_EQ(device.PlayOne().size(), 8u);  // a priming buffer
    queued = device.Queued();
    ASSERT_EQ(queued.back().length, 588u * 2);
    EXPECT_EQ(std::vector<uint8_t>(queued.back().data, queued.back().data + 1176), std::vector<uint8_t>(1176, 191));
    EXPECT_TRUE(engine.Close());
    EXPECT_TRUE(device.Queued().empty());
    EXPECT_TRUE(engine.Close());
    EXPECT_TRUE(device.resets == 1 && device.closes == 1 && !engine.IsOpen());
    ASSERT_TRUE(engine.Open(11025, false));
    EXPECT_EQ(engine.FramesPerBuffer(), 298u);
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
    const WaveBytes tone = Tone(22050, 200, 100);
    for (const auto& c : cases) {
        FakeWaveOut device;
        device.devices = c.devices;
        device.refuseFirst = c.refused;
        snd::SoundEngine engine(device);
        EXPECT_EQ(engine.Open(22050, true), c.opens);
        EXPECT_EQ(device.openedIndices, c.tried);
        if (c.opens) continue;
        EXPECT_TRUE(device.Queued().empty());
        EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
        engine.StopVoice(0);
        EXPECT_TRUE(engine.Close());
        EXPECT_EQ(device.closes, 0);
    }
}

// Without a mixing thread; what Close's reset hands back stays unmixed.
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
    EXPECT_TRUE(refilled[0].length == 588u && refilled[0].data[0] == 160 && refilled[4].data[0] == 160);
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

constexpr uint32_t kBytesPerMs = 22050 * 2 / 1000;  // stereo at 22050 Hz, rounded down

// What one voice makes of sound `id` at full volume on the 22050 Hz stereo mixer.
std::vector<uint8_t> SoloMix(uint16_t id) {
    snd::Sample s;
    EXPECT_TRUE(s.LoadFromResource(id));
    std::vector<uint8_t> out;
    for (uint32_t pos = 0; pos <= s.Length() * 256; pos += s.SampleRate() * 256 / 22050) {
        out.insert(out.end(), 2, static_cast<uint8_t>(std::clamp(((s.Data()[pos >> 8] - 128) * 64) >> 7, -128, 127) + 128));
    }
    return out;
}

bool AllSilent(std::vector<uint8_t>::const_iterator from, std::vector<uint8_t>::const_iterator to) {
    return std::all_of(from, to, [](uint8_t b) { return b == 128; });
}

// A sound manager on the virtual-clock device, everything it plays captured
// to a WAV file.
class HeadlessSound : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        path_ = ::testing::TempDir() + "sound_manager_test_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wav";
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
        EXPECT_GE(bytes.size(), 44u);
        return std::vector<uint8_t>(bytes.begin() + static_cast<long>(std::min<size_t>(bytes.size(), 44)), bytes.end());
    }
    // Where the solo mix of sound 544 lies in what was played, with silence all around it.
    long Solo544(const std::vector<uint8_t>& played) {
        const std::vector<uint8_t> expected = SoloMix(544);
        const auto at = std::search(played.begin(), played.end(), expected.begin(), expected.end());
        EXPECT_NE(at, played.end()) << "the mix of sound 544 is not in the captured audio";
        EXPECT_TRUE(AllSilent(played.begin(), at));
        EXPECT_TRUE(at == played.end() || AllSilent(at + static_cast<long>(expected.size()), played.end()));
        return at - played.begin();
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
    EXPECT_LE(Solo544(played), 40 + 5 * 1176);  // started within the five buffers in flight
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
    EXPECT_TRUE(AllSilent(stopAt + 134 * kBytesPerMs, played.end()));  // what was mixed has played out 134 ms later
}

// A missing sound plays nothing; a sound keeps the volume it started with.
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
    EXPECT_GT(Solo544(Played()), static_cast<long>(500 * kBytesPerMs));
}

}  // namespace
