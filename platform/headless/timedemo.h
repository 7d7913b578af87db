// Measures a headless run as a benchmark: how much faster than real time it
// went, what each event cost on the main thread, and how often it allocated.
#pragma once

#include <cstdint>
#include <cstdio>

namespace plat {

class Timedemo {
public:
    void Begin(uint32_t tick);
    // A message was handed to the program: the previous event is over.
    void Delivered(uint32_t tick);
    // Around the virtual sound device's mixing, which a thread of its own
    // does on the desktop and in the browser: it is counted apart.
    void SoundBegin();
    void SoundEnd();
    void End(uint32_t tick);
    void Print(std::FILE* out) const;

private:
    uint32_t startTick_ = 0;
    uint32_t endTick_ = 0;
    double wallStart_ = 0;
    double wall_ = 0;
    double cpuStart_ = 0;
    double cpu_ = 0;
    // From the first delivery on: start-up is not an event. The main thread's
    // CPU time is read at the first and the last event only; each event is
    // timed by a counter (wall time, converted with the rate measured over
    // the run).
    double eventsCpuStart_ = 0;
    double eventsCpu_ = 0;
    uint64_t eventsCounterStart_ = 0;
    uint64_t eventsCounted_ = 0;
    uint64_t counterStart_ = 0;
    double counterRate_ = 0;
    uint64_t events_ = 0;
    uint64_t eventStart_ = 0;
    uint64_t eventSound_ = 0;
    uint64_t soundStart_ = 0;
    uint64_t soundTicks_ = 0;
    // The slowest events, slowest first: one slow tick says little on a
    // shared machine, the same few ticks run after run say where to look.
    static constexpr int kWorstKept = 3;
    struct SlowEvent {
        uint64_t counted = 0;
        uint32_t tick = 0;
    };
    SlowEvent worst_[kWorstKept] = {};
    uint32_t lastTick_ = 0;
    uint64_t allocationsAtEvent_ = 0;
    uint64_t allocations_ = 0;
    uint64_t eventsAllocating_ = 0;
    uint64_t mostAllocations_ = 0;
};

}  // namespace plat
