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

plat::ResourceData GroundTop() {
    plat::ResourceData resource{};
    plat::FindResource("PCT", kGroundTop, resource);
    return resource;
}

void BM_DecodeFullScreenPicture(benchmark::State& state) {
    std::vector<uint8_t> out(kScreenBytes);
    const plat::ResourceData resource = GroundTop();
    for (auto _ : state) {
        gfx::DecodeResource(resource, out.data(), kScreenBytes);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kScreenBytes);
}
BENCHMARK(BM_DecodeFullScreenPicture);

// Every picture of the program, the decoder's real work at start-up.
void BM_DecodeEveryPicture(benchmark::State& state) {
    struct Run {
        std::vector<uint8_t> out = std::vector<uint8_t>(1 << 20);
        int64_t bytes = 0;
    } run;
    for (auto _ : state) {
        plat::ForEachResource(
            "PCT",
            [](uint16_t, const plat::ResourceData& resource, void* context) {
                auto& r = *static_cast<Run*>(context);
                r.bytes += gfx::DecodeResource(resource, r.out.data(), static_cast<uint32_t>(r.out.size()));
                benchmark::DoNotOptimize(r.out.data());
            },
            &run);
    }
    state.SetBytesProcessed(run.bytes);
}
BENCHMARK(BM_DecodeEveryPicture);

void BM_EncodeFullScreenPicture(benchmark::State& state) {
    std::vector<uint8_t> raw(kScreenBytes);
    gfx::DecodeResource(GroundTop(), raw.data(), kScreenBytes);
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
// A sprite's size: the per-row work counts as much as the per-pixel work.
void BM_BlitKeyedSoftSprite(benchmark::State& state) {
    const gfx::Rect sprite{0, 0, 26, 40};
    Buffers b;
    for (auto _ : state) {
        gfx::BlitKeyedSoft(b.src, b.dst, gfx::Point{100, 100}, sprite, Buffers::kKey);
        benchmark::DoNotOptimize(b.dst.pixels);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * sprite.Width() * sprite.Height());
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
BENCHMARK(BM_BlitKeyedSoftSprite);
BENCHMARK(BM_FillSurface);

}  // namespace
