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
#include "sound/mixer.h"
#include "sound/mixer_mailbox.h"
#include "sound/sample.h"
#include "sound/sound_engine.h"
#include "sound/sound_manager.h"

namespace {

using Bytes = std::vector<uint8_t>;

// The format chunk's fields; a declared size past 16 pads the body to it.
struct FormatFields { uint16_t formatTag = 1, channels = 1; uint32_t rate = 22050; uint16_t bits = 8; uint32_t chunkSize = 16; };

// A RIFF WAVE file built byte by byte, so tests can shape every chunk.
struct WaveBytes {
    explicit WaveBytes(const FormatFields& f = {}) {
        Tag("RIFF").Le(0, 4).Tag("WAVE").Tag("fmt ").Le(f.chunkSize, 4).Le(f.formatTag, 2).Le(f.channels, 2).Le(f.rate, 4);
        Le(f.rate * f.channels * f.bits / 8, 4).Le(static_cast<uint32_t>(f.channels * f.bits / 8), 2).Le(f.bits, 2);
        for (uint32_t i = 16; i < f.chunkSize && i < 64; ++i) bytes.push_back(0);
    }
    // A chunk whose header claims `declared` bytes (default: what the body holds).
    WaveBytes& Chunk(const char* tag, const Bytes& body, uint32_t declared = ~0u) {
        Tag(tag).Le(declared == ~0u ? static_cast<uint32_t>(body.size()) : declared, 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    WaveBytes& Tag(const char* tag) {
        bytes.insert(bytes.end(), tag, tag + 4);
        return *this;
    }
    WaveBytes& Le(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }

    Bytes bytes;
};

Bytes Ramp(size_t n) {
    Bytes body(n);
    for (size_t i = 0; i < n; ++i) body[i] = static_cast<uint8_t>(i * 7 + 3);
    return body;
}

bool Load(snd::Sample& sample, const Bytes& bytes) { return sample.LoadFromBytes(bytes.data(), static_cast<uint32_t>(bytes.size())); }

Bytes Plain(const FormatFields& format) { return WaveBytes(format).Chunk("data", Ramp(20)).bytes; }

// Whatever it refuses, the sample stays as it was.
TEST(SampleLoader, ReadsRateLengthAndBodyWalkingOverOtherChunksAndRefusesAnythingElse) {
    const Bytes plain = WaveBytes(FormatFields{.rate = 11025}).Chunk("data", Ramp(40)).bytes;
    snd::Sample s;
    ASSERT_TRUE(Load(s, plain));
    EXPECT_TRUE(s.SampleRate() == 11025u && s.Length() == 32u);  // the last 8 bytes never play
    EXPECT_TRUE(s.Data() == plain.data() + 44 && s.Volume() == 64 && !s.Loop());
    // An 18-byte format chunk and an odd-sized LIST: the walk steps by the declared sizes exactly.
    const Bytes walked = WaveBytes(FormatFields{.chunkSize = 18}).Chunk("LIST", Ramp(5)).Chunk("DISP", Ramp(12)).Chunk("data", Ramp(30)).bytes;
    ASSERT_TRUE(Load(s, walked));
    EXPECT_TRUE(s.Data() == walked.data() + 12 + 26 + 13 + 20 + 8 && s.Length() == 22u);
    for (const uint32_t rate : {1000u, 48000u}) EXPECT_TRUE(Load(s, Plain({.rate = rate})) && s.SampleRate() == rate) << rate;
    EXPECT_TRUE(Load(s, WaveBytes().Chunk("data", Ramp(8)).bytes) && s.Length() == 0u);
    for (const auto& [set, want] : {std::pair{-1, 64}, {65, 64}, {0, 0}, {37, 37}}) {  // outside: full
        s.SetVolume(set);
        EXPECT_EQ(s.Volume(), want) << set;
    }
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
    ASSERT_TRUE(Load(s, plain));
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_TRUE(!Load(s, refused[i]) && s.Data() == plain.data() + 44 && s.Length() == 32u) << i;
    EXPECT_FALSE(s.LoadFromBytes(nullptr, 100));
    snd::Sample fresh;
    EXPECT_TRUE(!Load(fresh, refused[0]) && !fresh.LoadFromResource(536) && fresh.Data() == nullptr);  // no such sound
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

TEST(Mixer, OneVoiceByStepVolumeAndLoopAndVoicesAddUpClampStereoAndSkipStopped) {
    const struct { const char* what; Bytes data; uint32_t step, volume; bool loop; Bytes out; bool stopped; } cases[] = {
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
    // Voices add up and clamp; stopped ones are skipped.
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
    EXPECT_TRUE(stopped.Mix(2) == (Bytes{191, 64}) && stopped.v[6].position == 0u);
    const Bytes wave = {10, 240, 128, 60, 90};
    stereo.Start(0, wave);
    EXPECT_EQ(stereo.Mix(4, true), (Bytes{69, 69, 184, 184, 128, 128, 94, 94}));
}

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
        std::unique_lock<std::mutex> hold(mutex_);
        back.swap(queue_);
        ++resets;
        hold.unlock();
        for (plat::WaveBuffer* b : back) sink_->BufferDone(b);
    }
    void Close() override { ++closes; }

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
    for (const auto& [asked, rate, perBuffer] : {std::tuple{11025u, 11025u, 298u}, {22050u, 22050u, 588u}, {44100u, 44100u, 1176u}, {32000u, 22050u, 588u}})
        EXPECT_TRUE(snd::ShapeForRate(asked).rate == rate && snd::ShapeForRate(asked).framesPerBuffer == perBuffer) << asked;
    FakeWaveOut device;
    snd::SoundEngine engine(device);
    EXPECT_TRUE(engine.Close());  // never opened
    ASSERT_TRUE(engine.Open(32000, true));
    EXPECT_TRUE(!engine.Open(44100, false) && device.opens == 1);
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
    const WaveBytes loud = Tone(22050, 255, 2000), tone = Tone(22050, 200, 100), shortTone = Tone(11025, 255, 108);
    EXPECT_EQ(engine.StartSample(snd::Sample{}), snd::kNoVoice);
    ASSERT_EQ(engine.StartSample(MakeSample(loud, false, 65)), 0);
    EXPECT_EQ(device.PlayOne().size(), 8u);  // a priming buffer
    queued = device.Queued();
    ASSERT_EQ(queued.back().length, 588u * 2);
    EXPECT_EQ(std::vector<uint8_t>(queued.back().data, queued.back().data + 1176), std::vector<uint8_t>(1176, 191));
    // Eight voices at most, none stolen, the lowest free first.
    for (uint16_t i = 1; i < snd::kVoiceCount; ++i) EXPECT_EQ(engine.StartSample(MakeSample(tone, true)), i);
    EXPECT_EQ(engine.StartSample(MakeSample(tone)), snd::kNoVoice);
    for (const int voice : {8, 5, 2}) engine.StopVoice(static_cast<uint16_t>(voice));  // 8 is out of range: ignored
    EXPECT_EQ(engine.ActiveVoiceCount(), 6u);
    EXPECT_EQ(std::vector<uint16_t>({engine.StartSample(MakeSample(tone)), engine.StartSample(MakeSample(tone))}), std::vector<uint16_t>({2, 5}));
    EXPECT_TRUE(engine.Close() && device.Queued().empty() && engine.ActiveVoiceCount() == 0u);
    EXPECT_TRUE(engine.Close() && device.resets == 1 && device.closes == 1 && !engine.IsOpen());
    ASSERT_TRUE(engine.Open(11025, false) && engine.FramesPerBuffer() == 298u);
    ASSERT_EQ(engine.StartSample(MakeSample(shortTone)), 0);  // a one-shot of 101 frames frees its voice
    for (uint32_t i = 0; i < snd::kBufferCount; ++i) device.PlayOne();
    EXPECT_EQ(engine.ActiveVoiceCount(), 0u);
}

TEST(SoundEngine, TriesDevicesInOrderWithoutOneIsSilentAndOnTheMainThreadRefillsInsideTheNotice) {
    const struct { uint32_t devices, refused; bool opens; std::vector<uint32_t> tried; } cases[] = {
        {3, 2, true, {0, 1, 2}}, {2, 2, false, {0, 1}}, {0, 0, false, {}}};
    const WaveBytes tone = Tone(22050, 192, 4000);
    for (const auto& c : cases) {
        FakeWaveOut device;
        device.devices = c.devices;
        device.refuseFirst = c.refused;
        snd::SoundEngine engine(device);
        EXPECT_TRUE(engine.Open(22050, true) == c.opens && device.openedIndices == c.tried) << c.devices;
        if (c.opens) continue;
        EXPECT_TRUE(device.Queued().empty() && engine.StartSample(MakeSample(tone)) == snd::kNoVoice);
        engine.StopVoice(0);
        EXPECT_TRUE(engine.Close() && device.closes == 0);
    }
    // Without a mixing thread the buffers are refilled inside the notice; what Close's reset hands back stays unmixed.
    FakeWaveOut device;
    device.mainThread = true;
    snd::SoundEngine engine(device);
    ASSERT_TRUE(engine.Open(22050, false) && engine.StartSample(MakeSample(tone)) == 0);
    for (uint32_t i = 0; i < snd::kBufferCount; ++i) EXPECT_EQ(device.PlayOne().size(), 8u);
    const std::vector<plat::WaveBuffer> refilled = device.Queued();
    ASSERT_EQ(refilled.size(), snd::kBufferCount);
    EXPECT_TRUE(refilled[0].length == 588u && refilled[0].data[0] == 160 && refilled[4].data[0] == 160);
    EXPECT_TRUE(engine.Close() && device.Queued().empty());
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
    for (uint32_t pos = 0; pos <= s.Length() * 256; pos += s.SampleRate() * 256 / 22050)
        out.insert(out.end(), 2, static_cast<uint8_t>(std::clamp(((s.Data()[pos >> 8] - 128) * 64) >> 7, -128, 127) + 128));
    return out;
}

bool AllSilent(std::vector<uint8_t>::const_iterator from, std::vector<uint8_t>::const_iterator to) {
    return std::all_of(from, to, [](uint8_t b) { return b == 128; });
}

TEST(SoundManager, StopAllSilencesEverythingAndASoundPlaysAtTheVolumeOfItsKindWhenItStarted) {
    plat::testing::Reset();
    const std::string path = ::testing::TempDir() + "sound_manager_test.wav";
    plat::HeadlessWaveOut device;
    device.CaptureTo(path);
    auto manager = std::make_unique<snd::SoundManager>(device);
    uint32_t now = 0;
    const auto runUntil = [&](uint32_t tick) {
        for (; now < tick; now += 10) {
            plat::testing::SetTick(now + 10);
            device.AdvanceTo(now + 10);
        }
    };
    manager->PlaySound(535, true, true);
    manager->PlaySound(550, false, false);
    manager->PlaySound(563, false, false);
    runUntil(500);
    manager->StopAllSounds();
    runUntil(700);
    manager->SetMusicVolume(0);
    manager->SetEffectVolume(100);  // out of range: full volume
    manager->PlaySound(535, true, true);
    manager->PlaySound(536, false, false);  // no such sound
    runUntil(800);
    manager->PlaySound(544, false, false);
    manager->SetEffectVolume(0);
    runUntil(900);
    manager->PlaySound(544, false, false);  // silent now
    runUntil(1800);
    manager.reset();  // closed, the capture is complete
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    // A 44-byte header, five 8-byte primers, then whole 588-frame buffers as the clock allows.
    ASSERT_EQ(bytes.size(), 44 + 5 * 8 + (1800 * 22050 / 1000 - 20) / 588 * 1176u);
    const std::vector<uint8_t> played(bytes.begin() + 44, bytes.end());
    const auto stopAt = played.begin() + 500 * kBytesPerMs, quiet = stopAt + 134 * kBytesPerMs;  // what was mixed has played out by then
    EXPECT_FALSE(AllSilent(played.begin(), stopAt));
    const std::vector<uint8_t> solo = SoloMix(544);
    const auto at = std::search(quiet, played.end(), solo.begin(), solo.end());
    ASSERT_NE(at, played.end()) << "the mix of sound 544 is not in the captured audio";
    EXPECT_TRUE(AllSilent(quiet, at) && AllSilent(at + static_cast<long>(solo.size()), played.end()));
    // Started within the five buffers in flight.
    EXPECT_TRUE(at > played.begin() + 700 * kBytesPerMs && at <= played.begin() + 800 * kBytesPerMs + 5 * 1176) << at - played.begin();
}

}  // namespace
