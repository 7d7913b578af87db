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
    void End(uint32_t tick);
    void Print(std::FILE* out) const;

private:
    uint32_t startTick_ = 0;
    uint32_t endTick_ = 0;
    double wallStart_ = 0;
    double wall_ = 0;
    double cpuStart_ = 0;
    double cpu_ = 0;
    // Per event, from the first delivery on: start-up is not an event.
    uint64_t events_ = 0;
    double eventStart_ = 0;
    double eventCpu_ = 0;
    double worstEvent_ = 0;
    uint32_t worstTick_ = 0;
    uint32_t lastTick_ = 0;
    uint64_t allocationsAtEvent_ = 0;
    uint64_t allocations_ = 0;
    uint64_t eventsAllocating_ = 0;
    uint64_t mostAllocations_ = 0;
};

}  // namespace plat
