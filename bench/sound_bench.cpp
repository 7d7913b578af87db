// Benchmarks: the cost of one mixed buffer, and how long a started sound takes
// to reach the audio device (run with SDL_AUDIODRIVER=dummy where there is no
// sound hardware).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/sdl_wave_out.h"
#include "sound/mixer.h"
#include "sound/sound_engine.h"

namespace {

void BM_MixBufferEightVoicesStereo(benchmark::State& state) {
    std::vector<uint8_t> data(100000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 31);
    snd::SampleVoice voices[snd::kVoiceCount];
    for (uint32_t i = 0; i < snd::kVoiceCount; ++i) {
        voices[i].data = data.data();
        voices[i].step = 128u << (i % 3);
        voices[i].end = static_cast<uint32_t>(data.size() - 1) * 256;
        voices[i].volume = 64;
        voices[i].loop = true;
        voices[i].stopped = false;
    }
    std::vector<uint8_t> out(588 * 2);
    for (auto _ : state) {
        snd::MixBuffer(voices, out.data(), 588, true);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 588);
}
BENCHMARK(BM_MixBufferEightVoicesStereo);

// Passes everything to the real device and notes when the first buffer that
// carries sound began to go to it: the moment the buffer before it was done.
// A mix starts at a buffer's first byte, so that is when its first sample
// reached the device.
class TimedWaveOut final : public plat::WaveOut, private plat::WaveDoneSink {
public:
    explicit TimedWaveOut(plat::WaveOut& inner) : inner_(inner) {}
    uint32_t DeviceCount() override { return inner_.DeviceCount(); }
    bool Open(uint32_t index, const plat::WaveFormat& format, plat::WaveDoneSink* sink) override {
        engine_ = sink;
        return inner_.Open(index, format, this);
    }
    void Pause() override { inner_.Pause(); }
    void Restart() override { inner_.Restart(); }
    void Write(plat::WaveBuffer* buffer) override { inner_.Write(buffer); }
    void Reset() override { inner_.Reset(); }
    void Close() override { inner_.Close(); }

    // Blocks until a buffer with (or, `loud` false, without) sound was played;
    // answers when it began to play.
    std::chrono::steady_clock::time_point WaitFor(bool loud) {
        std::unique_lock<std::mutex> hold(mutex_);
        wanted_ = loud;
        seen_ = false;
        changed_.wait(hold, [this] { return seen_; });
        return when_;
    }

private:
    void BufferDone(plat::WaveBuffer* buffer) override {
        const bool loud = std::any_of(buffer->data, buffer->data + buffer->length, [](uint8_t b) { return b != 128; });
        const auto now = std::chrono::steady_clock::now();
        {
            std::lock_guard<std::mutex> hold(mutex_);
            if (!seen_ && loud == wanted_) {
                seen_ = true;
                when_ = previousDone_;
                changed_.notify_all();
            }
            previousDone_ = now;
        }
        engine_->BufferDone(buffer);
    }

    plat::WaveOut& inner_;
    plat::WaveDoneSink* engine_ = nullptr;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool wanted_ = false;
    bool seen_ = true;
    std::chrono::steady_clock::time_point when_;
    std::chrono::steady_clock::time_point previousDone_;
};

void BM_StartSampleToDevice(benchmark::State& state) {
    plat::SdlWaveOut sdl;
    TimedWaveOut device(sdl);
    snd::SoundEngine engine(device);
    if (!engine.Open(22050, true)) {
        state.SkipWithError("no audio device opens (try SDL_AUDIODRIVER=dummy)");
        return;
    }
    std::vector<uint8_t> wave(44 + 4000, 255);
    snd::Sample tone;
    // A plain file header, then a loud body.
    const uint8_t header[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1,   0,   1,   0,   0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0,
                                'd', 'a', 't', 'a', 0xA0, 0x0F, 0, 0};
    std::copy(header, header + 44, wave.begin());
    if (!tone.LoadFromBytes(wave.data(), static_cast<uint32_t>(wave.size()))) {
        state.SkipWithError("test tone did not load");
        return;
    }
    double worst = 0;
    uint32_t phase = 0;
    for (auto _ : state) {
        device.WaitFor(false);
        // Start at varying points of the buffer cycle.
        std::this_thread::sleep_for(std::chrono::milliseconds(phase++ % 27));
        const auto start = std::chrono::steady_clock::now();
        const uint16_t voice = engine.StartSample(tone);
        const auto heard = device.WaitFor(true);
        const double seconds = std::chrono::duration<double>(heard - start).count();
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
        engine.StopVoice(voice);
    }
    state.counters["worst_ms"] = worst * 1000;
    engine.Close();
}
BENCHMARK(BM_StartSampleToDevice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

BENCHMARK_MAIN();
