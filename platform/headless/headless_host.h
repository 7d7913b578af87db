// The headless runner: time moves as fast as the program asks, input comes
// from a script, screenshots go to a folder and audio to the virtual device.
#pragma once

#include <string>
#include <vector>

#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/core/script_feed.h"
#include "platform/headless/timedemo.h"

namespace plat {

class HeadlessHost final : public Host {
public:
    // The clock should read the script's start tick when the run begins.
    HeadlessHost(Script script, std::string shotsDir);

    void WaitFor(uint32_t dueTick) override;
    void SleepUntil(uint32_t dueTick) override;
    void ClockMoved(uint32_t tick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    bool ActivateRunningInstance(const char*, const char*) override { return false; }
    bool CreateMainWindow(const char*, const char*) override { return true; }
    void Delivering(const Message& message, uint32_t tick) override;

    // Measures every event from now on; null stops measuring.
    void Measure(Timedemo* timedemo) { timedemo_ = timedemo; }

    bool ShotsFailed() const { return shotsFailed_; }

private:
    void TakeShot(const std::string& name);

    ScriptFeed feed_;
    std::string shotsDir_;
    bool shotsFailed_ = false;
    Timedemo* timedemo_ = nullptr;
};

}  // namespace plat
