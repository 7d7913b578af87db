// Not a test: the cost of one event for the flock with a crowded table, for
// the field targets and for the hunt screen's score, clock and puffs, and the
// allocations that costs (launches give their sprites background buffers;
// everything else should allocate nothing).
#include <benchmark/benchmark.h>

#include "app/animation_list.h"
#include "game/duck_flock.h"
#include "game/field_targets.h"
#include "game/game_random.h"
#include "game/hunt_clock.h"
#include "game/score_board.h"
#include "game/shot_puffs.h"
#include "graphics/scene.h"
#include "platform/core/allocation_counter.h"
#include "platform/testing.h"

namespace {

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs_per_event"] = benchmark::Counter(
        static_cast<double>(static_cast<long>(reedshot_allocation_count()) - before) / static_cast<double>(state.iterations()));
}

// Thirty ducks in formation on the move, called in again whenever they thin
// out; every event moves the ones that are due (10 ms apart, 95 ms steps).
void BM_FlockEvent(benchmark::State& state) {
    plat::testing::Reset();
    gfx::Scene scene(1, 3, 240, 320);
    scene.SetScroll(0, 639);
    DuckFlock flock;
    flock.init(&scene);
    g_gameRandom.seedWith(1234);
    InputEvent idle{};
    uint32_t tick = 1000;
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        while (flock.count() < 25) flock.summonFlock();
        tick += 10;
        plat::testing::SetTick(tick);
        benchmark::DoNotOptimize(flock.processEvent(idle, true, kFlockUpdate));
    }
    ReportAllocations(state, before);
    flock.release();
}
BENCHMARK(BM_FlockEvent);

// Leaves off (no settings here): the decoy, sign ducks and red birds.
void BM_FieldTargetsEvent(benchmark::State& state) {
    plat::testing::Reset();
    gfx::Scene scene(1, 3, 240, 320);
    scene.SetScroll(0, 639);
    FieldTargets field;
    field.random().seedWith(99);
    field.init(&scene);
    InputEvent idle{};
    uint32_t tick = 1000;
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        tick += 10;
        plat::testing::SetTick(tick);
        benchmark::DoNotOptimize(field.processEvent(idle, true));
    }
    ReportAllocations(state, before);
    field.release();
}
BENCHMARK(BM_FieldTargetsEvent);

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
