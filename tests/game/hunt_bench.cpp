// Not a test: the cost of one event for the flock with a crowded table and
// for the field targets, and the allocations that costs (launches give
// their sprites background buffers; everything else should allocate
// nothing).
#include <benchmark/benchmark.h>

#include "game/duck_flock.h"
#include "game/field_targets.h"
#include "game/game_random.h"
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

}  // namespace

BENCHMARK_MAIN();
