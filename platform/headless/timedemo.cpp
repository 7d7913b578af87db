#include "platform/headless/timedemo.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

// Linked into the program only; tests and tools run without the count.
extern "C" uint64_t reedshot_allocation_count() __attribute__((weak));

namespace plat {

namespace {

double Seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Read at every event, so it must cost next to nothing: on a virtual machine
// clock_gettime can be a system call of several microseconds, more than the
// event it would time.
uint64_t Counter() {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
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
    counterStart_ = Counter();
}

void Timedemo::Delivered(uint32_t tick) {
    const uint64_t now = Counter();
    const uint64_t allocations = Allocations();
    if (events_ == 0) {
        eventsCpuStart_ = Seconds(CLOCK_THREAD_CPUTIME_ID);
        eventsCounterStart_ = now;
    }
    if (events_ > 0) {
        const uint64_t game = now - eventStart_ - eventSound_;
        soundTicks_ += eventSound_;
        if (game > worst_[kWorstKept - 1].counted) {
            int at = kWorstKept - 1;
            for (; at > 0 && worst_[at - 1].counted < game; --at) worst_[at] = worst_[at - 1];
            worst_[at] = {game, lastTick_};
        }
        const uint64_t made = allocations - allocationsAtEvent_;
        allocations_ += made;
        eventsAllocating_ += made > 0 ? 1 : 0;
        mostAllocations_ = std::max(mostAllocations_, made);
    }
    ++events_;
    eventStart_ = now;
    eventSound_ = 0;
    lastTick_ = tick;
    allocationsAtEvent_ = allocations;
}

void Timedemo::SoundBegin() { soundStart_ = Counter(); }

void Timedemo::SoundEnd() { eventSound_ += Counter() - soundStart_; }

void Timedemo::End(uint32_t tick) {
    endTick_ = tick;
    const uint64_t now = Counter();
    eventsCpu_ = Seconds(CLOCK_THREAD_CPUTIME_ID) - eventsCpuStart_;
    eventsCounted_ = now - eventsCounterStart_;
    wall_ = Seconds(CLOCK_MONOTONIC) - wallStart_;
    cpu_ = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart_;
    const uint64_t counted = now - counterStart_;
    counterRate_ = wall_ > 0 ? static_cast<double>(counted) / wall_ : 0.0;
}

void Timedemo::Print(std::FILE* out) const {
    const double virtualSeconds = static_cast<double>(endTick_ - startTick_) / 1000.0;
    const double measured = static_cast<double>(events_ > 1 ? events_ - 1 : 1);
    const double tickSeconds = counterRate_ > 0 ? 1.0 / counterRate_ : 0.0;
    // The sound's share of the events' wall time splits their CPU time: when
    // other programs take the processor both stretch alike, while subtracting
    // the sound's wall time from CPU time would leave the game next to nothing.
    const double soundShare =
        eventsCounted_ > 0 ? std::min(1.0, static_cast<double>(soundTicks_) / static_cast<double>(eventsCounted_)) : 0.0;
    const double sound = eventsCpu_ * soundShare / measured;
    const double game = eventsCpu_ / measured - sound;
    const double worst = static_cast<double>(worst_[0].counted) * tickSeconds;
    std::fprintf(out, "timedemo: %.1f s of game in %.3f s wall, %.0f times real time; %.3f s CPU in all\n",
                 virtualSeconds, wall_, wall_ > 0 ? virtualSeconds / wall_ : 0.0, cpu_);
    std::fprintf(out,
                 "timedemo: %llu events, %.0f per second; main thread %.2f us CPU per event, worst %.0f us wall "
                 "(tick %u); sound device %.2f us per event\n",
                 static_cast<unsigned long long>(events_), wall_ > 0 ? static_cast<double>(events_) / wall_ : 0.0,
                 game * 1e6, worst * 1e6, worst_[0].tick, sound * 1e6);
    const double copy = FrameCopySeconds();
    std::fprintf(out, "timedemo: one full-frame copy %.2f us; mean event %.1f of them, worst event %.0f\n", copy * 1e6,
                 game / copy, worst / copy);
    std::fprintf(out, "timedemo: slowest events");
    for (int i = 0; i < kWorstKept && worst_[i].counted != 0; ++i) {
        std::fprintf(out, "%s %.0f us (tick %u)", i == 0 ? "" : ",",
                     static_cast<double>(worst_[i].counted) * tickSeconds * 1e6, worst_[i].tick);
    }
    std::fprintf(out, "\n");
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
