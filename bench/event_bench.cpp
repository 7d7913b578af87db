// The cost of turning one message into one dispatched event, and
// the allocations that costs (the goal is none).
#include <benchmark/benchmark.h>

#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/input_translator.h"
#include "app/view.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "platform/core/allocation_counter.h"

namespace {

// A stylus stroke, a key press and heartbeats, repeated.
const plat::Message kMessages[] = {
    {plat::kMsgPenDown, 0, 100 | (200u << 16)},
    {plat::kMsgPenMove, 0, 110 | (190u << 16)},
    {plat::kMsgTimer, 15000, 0},
    {plat::kMsgPenUp, 0, 120 | (180u << 16)},
    {plat::kMsgKeyDown, plat::kVkUp, 0},
    {plat::kMsgTimer, 15000, 0},
    {plat::kMsgKeyUp, plat::kVkUp, 0},
    {plat::kMsgTimer, 15000, 0},
};
constexpr size_t kMessageCount = sizeof(kMessages) / sizeof(kMessages[0]);

class PassingView : public View {
public:
    void Enter() override {}
    void Leave() override {}
    int HandleEvent(InputEvent& event) override { return event.type == kEventKeys ? kConsumed : kNotConsumed; }
};

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs_per_event"] = benchmark::Counter(
        static_cast<double>(static_cast<long>(reedshot_allocation_count()) - before) / static_cast<double>(state.iterations()));
}

void BM_TranslateMessage(benchmark::State& state) {
    InputState input;
    InputEvent event{};
    size_t next = 0;
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        ApplyMessage(input, kMessages[next]);
        BuildMainEvent(input, event);
        benchmark::DoNotOptimize(event);
        next = (next + 1) % kMessageCount;
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_TranslateMessage);

void BM_DispatchEvent(benchmark::State& state) {
    PassingView view;
    ViewList views;
    views.Add(&view, kViewHunt);
    views.Start(kViewHunt);
    AnimationList animations;
    GameController controller(views, animations);
    EventDispatcher dispatcher(views, controller, animations);
    InputState input;
    InputEvent event{};
    size_t next = 0;
    const long before = static_cast<long>(reedshot_allocation_count());
    for (auto _ : state) {
        ApplyMessage(input, kMessages[next]);
        BuildMainEvent(input, event);
        benchmark::DoNotOptimize(dispatcher.Dispatch(event));
        next = (next + 1) % kMessageCount;
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_DispatchEvent);

}  // namespace

BENCHMARK_MAIN();
