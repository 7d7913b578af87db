#include "platform/desktop/replay_host.h"

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/desktop/window_placement.h"
#include "platform/store/store_host.h"

namespace plat {

namespace {
// Behind by more than this (a stall, a message box), the replay goes on from now.
constexpr int64_t kMaxLagMs = 100;
constexpr uint32_t kPausedWaitMs = 100;
}  // namespace

ReplayHost::ReplayHost(const DesktopOptions& options, const Script& recording)
    : options_(options), feed_(recording), startTick_(recording.startTick) {}

bool ReplayHost::Begin() {
    namespace fs = std::filesystem;
    const fs::path store = StorePath();
    std::error_code error;
    std::string folder = (fs::temp_directory_path(error) / "reedshot-replay-XXXXXX").string();
    if (error || mkdtemp(folder.data()) == nullptr) {
        std::fprintf(stderr, "reedshot: cannot make a folder for the replay's copy of the store\n");
        return false;
    }
    copy_ = folder;
    // The log holds what the last run wrote if it did not close cleanly.
    for (const char* suffix : {"", "-wal"}) {
        const fs::path from = store.string() + suffix;
        if (!fs::exists(from, error)) continue;
        fs::copy_file(from, copy_ / from.filename(), error);
        if (error) {
            std::fprintf(stderr, "reedshot: cannot copy %s for the replay: %s\n", from.c_str(), error.message().c_str());
            Finish();
            return false;
        }
    }
    setenv("REEDSHOT_DATA_DIR", copy_.c_str(), 1);
    Machine::Get().SetTick(startTick_);
    Anchor(startTick_, SDL_GetTicks64());
    return true;
}

void ReplayHost::Finish() {
    CloseStore();
    std::error_code error;
    std::filesystem::remove_all(copy_, error);
}

bool ReplayHost::CreateMainWindow(const char* /*className*/, const char* /*title*/) {
    const WindowPlacement placement = LoadWindowPlacement();
    if (!window_.Open(options_.scale > 0 ? options_.scale : placement.scale, placement.fullscreen)) return false;
    ShowState();
    return true;
}

void ReplayHost::ShowState() {
    char title[64];
    if (paused_) {
        std::snprintf(title, sizeof title, "Reedshot replay (paused)");
    } else if (speed_ > 1) {
        std::snprintf(title, sizeof title, "Reedshot replay (%dx)", speed_);
    } else {
        std::snprintf(title, sizeof title, "Reedshot replay");
    }
    window_.SetTitle(title);
}

void ReplayHost::Anchor(uint32_t tick, uint64_t wallMs) {
    anchorTick_ = tick;
    anchorWall_ = wallMs;
}

// The recording's actions at their times, as the headless runner hands them
// out, each once the wall clock has come to it.
void ReplayHost::WaitFor(uint32_t dueTick) {
    Machine& machine = Machine::Get();
    while (feed_.ActionBefore(dueTick)) {
        if (!Pace(feed_.NextTick()) || feed_.Step(nullptr, nullptr)) return;
    }
    // The recording's end ends the run.
    if (feed_.Done()) {
        machine.End();
        return;
    }
    Pace(dueTick);
}

void ReplayHost::SleepUntil(uint32_t dueTick) {
    while (!Machine::Get().Ended() && feed_.ActionBefore(dueTick)) WaitFor(dueTick);
    if (!Machine::Get().Ended()) Pace(dueTick);
}

// A loop spinning on the tick counter sees it creep as the headless runner
// lets it, no faster than the replay's speed.
uint32_t ReplayHost::CreepFrom(uint32_t tick) {
    Pace(tick + 1);
    return tick + 1;
}

bool ReplayHost::Pace(uint32_t tick) {
    Machine& machine = Machine::Get();
    for (;;) {
        window_.Pump(*this);
        if (machine.Ended()) return false;
        window_.RefreshIfChanged();
        const uint64_t now = SDL_GetTicks64();
        if (paused_) {
            SDL_WaitEventTimeout(nullptr, kPausedWaitMs);
            continue;
        }
        const int64_t ahead = static_cast<int32_t>(tick - anchorTick_);
        const int64_t due = static_cast<int64_t>(anchorWall_) + ahead / speed_;
        const int64_t left = due - static_cast<int64_t>(now);
        if (left <= 0) {
            if (-left > kMaxLagMs) Anchor(tick, now);
            return true;
        }
        SDL_WaitEventTimeout(nullptr, static_cast<int>(std::min<int64_t>(left, kPausedWaitMs)));
    }
}

uint32_t ReplayHost::VirtualNow(uint64_t wallMs) const {
    return anchorTick_ + static_cast<uint32_t>((wallMs - anchorWall_) * static_cast<uint64_t>(speed_));
}

void ReplayHost::Input(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN) return;
    const uint64_t now = SDL_GetTicks64();
    // Time goes on from where it stands at the new pace, or from where the pause left it.
    const uint32_t from = paused_ ? anchorTick_ : VirtualNow(now);
    switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
            Machine::Get().End();
            return;
        case SDLK_SPACE:
            paused_ = !paused_;
            break;
        case SDLK_RIGHT:
            speed_ = std::min(speed_ * 2, kMaxSpeed);
            break;
        case SDLK_LEFT:
            speed_ = std::max(speed_ / 2, 1);
            break;
        default:
            return;
    }
    Anchor(from, now);
    ShowState();
}

void ReplayHost::ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    window_.ShowMessageBox(text, caption, flags);
    Anchor(Machine::Get().Tick(), SDL_GetTicks64());
}

}  // namespace plat
