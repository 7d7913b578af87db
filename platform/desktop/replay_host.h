// A recording played back in the window at real speed, with the sound, on the
// virtual clock exactly as the headless runner replays it. Space pauses, the
// Right arrow doubles the speed up to 8x and the Left arrow halves it, Escape
// stops. The game runs on a copy of the player's store, thrown away after.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>

#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/core/script_feed.h"
#include "platform/desktop/desktop_host.h"
#include "platform/desktop/game_window.h"

namespace plat {

class ReplayHost final : public Host, WindowInput {
public:
    ReplayHost(const DesktopOptions& options, const Script& recording);

    // Copies the player's store aside and starts the clock at the recording's start.
    bool Begin();
    void WaitFor(uint32_t dueTick) override;
    void SleepUntil(uint32_t dueTick) override;
    uint32_t CreepFrom(uint32_t tick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    // A replay is no second copy of the game: it neither yields to one nor claims the name.
    bool ActivateRunningInstance(const char*, const char*) override { return false; }
    bool CreateMainWindow(const char* className, const char* title) override;
    void SetPointer(PointerShape shape) override { window_.SetPointer(shape); }
    // Throws the copy of the store away.
    void Finish();

private:
    static constexpr int kMaxSpeed = 8;

    void Input(const SDL_Event& event) override;
    void FocusLost() override {}
    // Lets the wall clock reach `tick` at the replay's speed, showing the
    // window meanwhile. False when the replay was stopped.
    bool Pace(uint32_t tick);
    // From here on `tick` is `wallMs` on the wall clock.
    void Anchor(uint32_t tick, uint64_t wallMs);
    // The tick the wall clock has come to at the replay's speed.
    uint32_t VirtualNow(uint64_t wallMs) const;
    void ShowState();

    DesktopOptions options_;
    ScriptFeed feed_;
    uint32_t startTick_;
    GameWindow window_;
    std::filesystem::path copy_;
    uint32_t anchorTick_ = 0;
    uint64_t anchorWall_ = 0;
    int speed_ = 1;
    bool paused_ = false;
};

}  // namespace plat
