// Decoder and blitter throughput, with memcpy over the same buffers as the
// yardstick.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "graphics/blit.h"
#include "graphics/lz77.h"
#include "platform/platform.h"
#include "tools/pctcodec/pct_encoder.h"

namespace {

constexpr uint16_t kGroundTop = 148;
constexpr uint32_t kScreenBytes = 240 * 320 * 2;

void BM_DecodeFullScreenPicture(benchmark::State& state) {
    std::vector<uint8_t> out(kScreenBytes);
    for (auto _ : state) {
        gfx::DecodePicture(kGroundTop, out.data(), kScreenBytes);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kScreenBytes);
}
BENCHMARK(BM_DecodeFullScreenPicture);

void BM_EncodeFullScreenPicture(benchmark::State& state) {
    std::vector<uint8_t> raw(kScreenBytes);
    gfx::DecodePicture(kGroundTop, raw.data(), kScreenBytes);
    for (auto _ : state) benchmark::DoNotOptimize(pctcodec::EncodePct(raw.data(), raw.size()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kScreenBytes);
}
BENCHMARK(BM_EncodeFullScreenPicture);

// A sprite-like source: a keyed frame around an opaque, noisy body.
struct Buffers {
    gfx::Surface src{240, 320};
    gfx::Surface dst{240, 320};
    static constexpr gfx::Colour kKey = 0xF81F;

    Buffers() {
        std::mt19937 rng(1);
        for (int32_t y = 0; y < 320; ++y) {
            for (int32_t x = 0; x < 240; ++x) {
                const bool body = (x / 16 + y / 16) % 3 != 0;
                src.Row(y)[x] = body ? static_cast<gfx::Colour>(rng() & 0xF7DE) : kKey;
                dst.Row(y)[x] = static_cast<gfx::Colour>(rng());
            }
        }
    }
};

const gfx::Rect kWhole{0, 0, 240, 320};

template <typename Blit>
void RunBlit(benchmark::State& state, Blit blit) {
    Buffers b;
    for (auto _ : state) {
        blit(b);
        benchmark::DoNotOptimize(b.dst.pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 240 * 320);
}

void BM_Memcpy(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { std::memcpy(b.dst.pixels, b.src.pixels, kScreenBytes); });
}
void BM_BlitCopy(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::BlitCopy(b.src, b.dst, gfx::Point{0, 0}, kWhole); });
}
void BM_BlitHalf(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::BlitHalf(b.src, b.dst, gfx::Point{0, 0}, kWhole); });
}
void BM_BlitKeyed(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::BlitKeyed(b.src, b.dst, gfx::Point{0, 0}, kWhole, Buffers::kKey); });
}
void BM_BlitKeyedHalf(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::BlitKeyedHalf(b.src, b.dst, gfx::Point{0, 0}, kWhole, Buffers::kKey); });
}
void BM_BlitKeyedAlpha(benchmark::State& state) {
    RunBlit(state,
            [](Buffers& b) { gfx::BlitKeyedAlpha(b.src, b.dst, gfx::Point{0, 0}, kWhole, Buffers::kKey, 0.3f); });
}
void BM_BlitKeyedSoft(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::BlitKeyedSoft(b.src, b.dst, gfx::Point{0, 0}, kWhole, Buffers::kKey); });
}
void BM_FillSurface(benchmark::State& state) {
    RunBlit(state, [](Buffers& b) { gfx::FillSurface(b.dst, 0x1234); });
}
BENCHMARK(BM_Memcpy);
BENCHMARK(BM_BlitCopy);
BENCHMARK(BM_BlitHalf);
BENCHMARK(BM_BlitKeyed);
BENCHMARK(BM_BlitKeyedHalf);
BENCHMARK(BM_BlitKeyedAlpha);
BENCHMARK(BM_BlitKeyedSoft);
BENCHMARK(BM_FillSurface);

}  // namespace
