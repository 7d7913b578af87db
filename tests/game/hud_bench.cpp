// Not a test: what the hunt screen's per-event work costs, and how often it
// allocates (the score's roll re-renders its text on every event).
#include <benchmark/benchmark.h>

#include "app/animation_list.h"
#include "game/hunt_clock.h"
#include "game/score_board.h"
#include "game/shot_puffs.h"
#include "platform/core/allocation_counter.h"
#include "platform/testing.h"

namespace {

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs_per_event"] = benchmark::Counter(
        static_cast<double>(static_cast<long>(reedshot_allocation_count()) - before) / static_cast<double>(state.iterations()));
}

// The score rolling up by one on every event, re-rendering its digits.
void BM_ScoreRoll(benchmark::State& state) {
    plat::testing::Reset();
    gfx::Scene scene(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
    ScoreBoard board;
    board.init(3, 10, &scene);
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        if (board.shown() == board.score()) board.add(1000);
        board.tick();
    }
    ReportAllocations(state, before);
    board.release();
}
BENCHMARK(BM_ScoreRoll);

// The clock's second and a puff's whole life, as one event in ten brings them.
void BM_ClockAndPuffs(benchmark::State& state) {
    plat::testing::Reset();
    gfx::Scene scene(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
    AnimationList animations;
    animations.SetScene(&scene);
    HuntClock clock;
    clock.init(3, 225, 100000, &scene);
    clock.start();
    ShotPuffs puffs;
    puffs.init(&scene);
    int event = 0;
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        plat::testing::AdvanceTick(10);
        if (++event % 10 == 0) puffs.add(100, 100);
        animations.Step();
        puffs.update();
        clock.tick();
    }
    ReportAllocations(state, before);
    // The test platform keeps a trace line (a string) for every present.
    state.counters["presents_per_event"] = benchmark::Counter(
        static_cast<double>(plat::testing::PresentCount()) / static_cast<double>(state.iterations()));
    puffs.release();
    clock.release();
}
BENCHMARK(BM_ClockAndPuffs);

}  // namespace

BENCHMARK_MAIN();
