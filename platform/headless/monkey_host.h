// The random-input soak: a headless host that makes up its input as it goes
// from a seeded generator (taps, drags, keys, hardware buttons, typed
// characters, lost focus, idle spells), spread over the screen on show, and
// quits after the hours asked for. A watchdog ends the process when virtual
// time stops or one event holds the program too long in real time.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <random>
#include <thread>

#include "platform/core/machine.h"

namespace plat {

class MonkeyHost final : public Host {
public:
    MonkeyHost(uint32_t seed, double hours);
    ~MonkeyHost() override;
    MonkeyHost(const MonkeyHost&) = delete;
    MonkeyHost& operator=(const MonkeyHost&) = delete;

    // The clock should read the start tick; starts the watchdog. With a
    // file, the input is written there as a headless script that replays it.
    void Begin(std::FILE* record);
    // Stops the watchdog and prints the figures. True when the run lasted
    // its hours and ended by the monkey's quit.
    bool Finish(std::FILE* out);

    void WaitFor(uint32_t dueTick) override;
    void SleepUntil(uint32_t dueTick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    bool ActivateRunningInstance(const char*, const char*) override { return false; }
    bool CreateMainWindow(const char*, const char*) override { return true; }
    void Delivering(const Message& message, uint32_t tick) override;
    void Traced(const char* event, const char* fields) override;

private:
    struct Timed {
        uint32_t tick;  // since the start
        Message message;
    };

    uint32_t Elapsed() const;
    bool Before(uint32_t elapsed, uint32_t dueTick) const;
    // True when input is queued, or a gesture is to start, before dueTick.
    bool InputBefore(uint32_t dueTick) const;
    // Queues the gesture that starts now (or the quit once the hours have
    // passed) and sets the time of the next one.
    void Plan();
    void PlanGesture();
    void PlanTap(int32_t x, int32_t y);
    void PlanDrag();
    void PlanHeld(uint32_t down, uint32_t code, uint32_t up);
    void PlanPoint(uint32_t id, int32_t x, int32_t y);
    void Post(uint32_t id, uint32_t wParam, uint32_t lParam);
    uint32_t Range(uint32_t low, uint32_t high);  // low..high inclusive
    bool Chance(uint32_t percent);
    void Watch();

    std::mt19937 random_;
    uint32_t durationMs_;
    uint32_t startTick_ = 0;
    uint32_t planTick_ = 0;  // when the next gesture starts, since the start
    bool quitQueued_ = false;
    std::deque<Timed> input_;
    std::FILE* record_ = nullptr;
    bool quitPosted_ = false;
    uint8_t view_ = 0xFF;   // the screen on show, from the trace
    bool viewsSeen_[256] = {};
    uint64_t posted_ = 0, delivered_ = 0, switches_ = 0, hunts_ = 0, boxes_ = 0;
    uint32_t lastTick_ = 0;
    uint64_t sameTickRun_ = 0;

    // Shared with the watchdog thread.
    std::atomic<uint64_t> beats_{0};
    std::atomic<uint32_t> watchedTick_{0};
    std::atomic<bool> stop_{false};
    std::chrono::steady_clock::time_point wallStart_;
    std::chrono::steady_clock::time_point lastEvent_;
    double worstEventMs_ = 0;
    std::thread watchdog_;
};

}  // namespace plat
