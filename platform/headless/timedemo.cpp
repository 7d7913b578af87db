#include "platform/headless/timedemo.h"

#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

// Linked into the program only; tests and tools run without the count.
extern "C" uint64_t reedshot_allocation_count() __attribute__((weak));

namespace plat {

namespace {

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

uint64_t Allocations() { return reedshot_allocation_count != nullptr ? reedshot_allocation_count() : 0; }

// The yardstick of the per-event figures: one full 320 x 240 frame of 5-6-5
// pixels copied, the best mean of a few rounds, timed on this thread.
double FrameCopySeconds() {
    constexpr size_t kPixels = 320 * 240;
    constexpr int kCopies = 200;
    std::vector<uint16_t> from(kPixels, 0x1234), to(kPixels);
    double best = 1.0;
    for (int round = 0; round < 5; ++round) {
        const double start = Seconds(CLOCK_THREAD_CPUTIME_ID);
        for (int i = 0; i < kCopies; ++i) {
            std::memcpy(to.data(), from.data(), kPixels * 2);
            // The copy must happen every time: its result is looked at.
            asm volatile("" : : "r"(to.data()) : "memory");
        }
        best = std::min(best, (Seconds(CLOCK_THREAD_CPUTIME_ID) - start) / kCopies);
    }
    return best;
}

}  // namespace

void Timedemo::Begin(uint32_t tick) {
    startTick_ = tick;
    wallStart_ = Seconds(CLOCK_MONOTONIC);
    cpuStart_ = Seconds(CLOCK_PROCESS_CPUTIME_ID);
}

void Timedemo::Delivered(uint32_t tick) {
    const double now = Seconds(CLOCK_THREAD_CPUTIME_ID);
    const uint64_t allocations = Allocations();
    if (events_ > 0) {
        const double cost = now - eventStart_;
        eventCpu_ += cost;
        if (cost > worstEvent_) {
            worstEvent_ = cost;
            worstTick_ = lastTick_;
        }
        const uint64_t made = allocations - allocationsAtEvent_;
        allocations_ += made;
        eventsAllocating_ += made > 0 ? 1 : 0;
        mostAllocations_ = std::max(mostAllocations_, made);
    }
    ++events_;
    eventStart_ = now;
    lastTick_ = tick;
    allocationsAtEvent_ = allocations;
}

void Timedemo::End(uint32_t tick) {
    endTick_ = tick;
    wall_ = Seconds(CLOCK_MONOTONIC) - wallStart_;
    cpu_ = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart_;
}

void Timedemo::Print(std::FILE* out) const {
    const double virtualSeconds = static_cast<double>(endTick_ - startTick_) / 1000.0;
    const double measured = static_cast<double>(events_ > 1 ? events_ - 1 : 1);
    std::fprintf(out, "timedemo: %.1f s of game in %.3f s wall, %.0f times real time; %.3f s CPU in all\n",
                 virtualSeconds, wall_, wall_ > 0 ? virtualSeconds / wall_ : 0.0, cpu_);
    std::fprintf(out, "timedemo: %llu events, %.0f per second; main thread %.2f us per event, worst %.0f us (tick %u)\n",
                 static_cast<unsigned long long>(events_), wall_ > 0 ? static_cast<double>(events_) / wall_ : 0.0,
                 eventCpu_ / measured * 1e6, worstEvent_ * 1e6, worstTick_);
    const double copy = FrameCopySeconds();
    std::fprintf(out, "timedemo: one full-frame copy %.2f us; mean event %.1f of them, worst event %.0f\n", copy * 1e6,
                 eventCpu_ / measured / copy, worstEvent_ / copy);
    if (reedshot_allocation_count == nullptr) {
        std::fprintf(out, "timedemo: allocations not counted in this build\n");
        return;
    }
    std::fprintf(out, "timedemo: %.4f allocations per event after start-up (%llu in %llu events, at most %llu in one)\n",
                 static_cast<double>(allocations_) / measured, static_cast<unsigned long long>(allocations_),
                 static_cast<unsigned long long>(eventsAllocating_),
                 static_cast<unsigned long long>(mostAllocations_));
}

}  // namespace plat
