#include "platform/desktop/desktop_host.h"

#include <SDL.h>

#include <time.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/audio/system_devices.h"
#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/core/start_options.h"
#include "platform/desktop/game_window.h"
#include "platform/desktop/gamepad.h"
#include "platform/desktop/key_map.h"
#include "platform/desktop/replay_host.h"
#include "platform/desktop/single_instance.h"
#include "platform/desktop/window_placement.h"

namespace plat {

namespace {

// Behind the wall clock by more than this (a message box, a stall), the
// clock stops catching up and simply goes on from now.
constexpr int32_t kMaxLagMs = 100;
constexpr int kDisplayAttempts = 3;
// While a stick or the d-pad is held, the pointer moves at least this often.
constexpr int kSteerMs = 10;

// The handheld's tick told the milliseconds since the device was switched
// on; seeds taken from it then differ from one start to the next.
uint32_t UptimeMs() {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return static_cast<uint32_t>(SDL_GetTicks64());
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000);
}

class DesktopHost final : public Host, WindowInput, PanelInput {
public:
    explicit DesktopHost(const DesktopOptions& options) : options_(options) {}

    bool Begin();
    void WaitFor(uint32_t dueTick) override { Wait(dueTick, true); }
    void SleepUntil(uint32_t dueTick) override { Wait(dueTick, false); }
    void CatchUp() override;
    uint32_t CreepFrom(uint32_t tick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    bool ActivateRunningInstance(const char* className, const char* title) override;
    bool CreateMainWindow(const char* className, const char* title) override;
    void Delivering(const Message& message, uint32_t tick) override;
    void SetPointer(PointerShape shape) override { window_.SetPointer(shape); }
    void Finish();

private:
    enum class PenOwner { kNone, kMouse, kPad };

    // The wall clock on the virtual clock's scale.
    uint32_t WallTick() const { return static_cast<uint32_t>(SDL_GetTicks64()) + wallOffset_; }
    // Behind the wall clock by more than kMaxLagMs, the wall clock waits instead.
    void Rebase(uint32_t tick);
    void Wait(uint32_t dueTick, bool untilMessage);
    void Pump();
    void Input(const SDL_Event& event) override;
    void FocusLost() override;
    void HandleKey(const SDL_KeyboardEvent& key);
    void HandleMouse(const SDL_Event& event);
    bool Pen(PenOwner owner, uint32_t id, Point panel);
    void PenDown(Point panel) override { Pen(PenOwner::kPad, kMsgPenDown, panel); }
    void PenMove(Point panel) override { Pen(PenOwner::kPad, kMsgPenMove, panel); }
    void PenUp(Point panel) override { Pen(PenOwner::kPad, kMsgPenUp, panel); }
    void PressKey(const MappedKey& key) override;
    void ReleaseKey(uint32_t code) override;
    void Type(uint32_t character) override { Machine::Get().Post({kMsgChar, character, 0}); }

    DesktopOptions options_;
    SingleInstance instance_;
    GameWindow window_;
    Gamepad pad_{*this};
    bool windowOpen_ = false;
    uint32_t wallOffset_ = 0;
    PenOwner pen_ = PenOwner::kNone;
    uint32_t lastPen_ = 0;          // where the stylus last was, as pen messages carry it
    std::array<bool, 256> held_{};  // keys and buttons the game has seen go down
    std::FILE* record_ = nullptr;
    uint32_t recordStart_ = 0;
};

bool DesktopHost::Begin() {
    const uint32_t start = Machine::Get().Tick();
    if (!options_.recordPath.empty()) {
        record_ = std::fopen(options_.recordPath.c_str(), "w");
        if (record_ == nullptr) {
            std::fprintf(stderr, "reedshot: cannot write the recording %s\n", options_.recordPath.c_str());
            return false;
        }
        std::fprintf(record_,
                     "# reedshot input recording; watch it with reedshot --replay FILE,"
                     " replay it with reedshot --headless --script FILE\n%s\n",
                     FormatStartLines(start, GivenStartOptions()).c_str());
        recordStart_ = start;
    }
    wallOffset_ = start - static_cast<uint32_t>(SDL_GetTicks64());
    return true;
}

void DesktopHost::Finish() {
    if (windowOpen_) SaveWindowPlacement(window_.Placement());
    if (record_ == nullptr) return;
    std::fprintf(record_, "%u quit\n", Machine::Get().Tick() - recordStart_);
    std::fclose(record_);
    record_ = nullptr;
}

void DesktopHost::Rebase(uint32_t tick) {
    if (static_cast<int32_t>(WallTick() - tick) > kMaxLagMs) wallOffset_ = tick - static_cast<uint32_t>(SDL_GetTicks64());
}

bool DesktopHost::ActivateRunningInstance(const char* className, const char* title) {
    return instance_.OtherIsRunning(std::string(className) + "-" + title);
}

bool DesktopHost::CreateMainWindow(const char* /*className*/, const char* /*title*/) {
    const WindowPlacement placement = LoadWindowPlacement();
    windowOpen_ = window_.Open(options_.scale > 0 ? options_.scale : placement.scale, placement.fullscreen);
    return windowOpen_;
}

// Before a queued message goes out, game time catches up with the wall clock,
// so that a stream of input (a drag) cannot slow it down.
void DesktopHost::CatchUp() {
    Machine& machine = Machine::Get();
    Rebase(machine.Tick());
    machine.AdvanceTo(WallTick());
}

// A loop reading the tick counter sees it move with the wall clock, never ahead.
uint32_t DesktopHost::CreepFrom(uint32_t tick) {
    Rebase(tick);
    return WallTick();
}

void DesktopHost::Wait(uint32_t dueTick, bool untilMessage) {
    Machine& machine = Machine::Get();
    Rebase(machine.Tick());
    for (;;) {
        Pump();
        if (machine.Ended() || (untilMessage && machine.HasMessages())) return;
        window_.RefreshIfChanged();
        const int32_t left = static_cast<int32_t>(dueTick - WallTick());
        if (left <= 0) return;
        SDL_WaitEventTimeout(nullptr, std::min(left, pad_.Steering() ? kSteerMs : 1000));
    }
}

void DesktopHost::Pump() {
    if (instance_.TakeRaiseRequest() && windowOpen_) window_.Raise();
    window_.Pump(*this);
    const uint64_t now = SDL_GetTicks64();
    pad_.Move(now);
    if (pad_.Active(now)) {
        window_.ShowPadPointer(pad_.Pointer());
    } else {
        window_.HidePadPointer();
    }
}

void DesktopHost::Input(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(event.key);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION:
            HandleMouse(event);
            break;
        default:
            pad_.Event(event, SDL_GetTicks64());
            break;
    }
}

void DesktopHost::HandleMouse(const SDL_Event& event) {
    Point panel{};
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_RIGHT) {
                PressKey({MappedKey::kButton, kVkHardware1 + 2});
            } else if (event.button.button == SDL_BUTTON_LEFT && pen_ == PenOwner::kNone &&
                       window_.MouseToPanel(event.button.x, event.button.y, false, panel)) {
                Pen(PenOwner::kMouse, kMsgPenDown, panel);
            }
            break;
        case SDL_MOUSEMOTION:
            pad_.Yield();
            if (pen_ == PenOwner::kMouse && window_.MouseToPanel(event.motion.x, event.motion.y, true, panel))
                Pen(PenOwner::kMouse, kMsgPenMove, panel);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_RIGHT) {
                ReleaseKey(kVkHardware1 + 2);
            } else if (event.button.button == SDL_BUTTON_LEFT && pen_ == PenOwner::kMouse &&
                       window_.MouseToPanel(event.button.x, event.button.y, true, panel)) {
                Pen(PenOwner::kMouse, kMsgPenUp, panel);
            }
            break;
        default:
            break;
    }
}

// The stylus is the mouse's or the pad's, whichever put it down first.
bool DesktopHost::Pen(PenOwner owner, uint32_t id, Point panel) {
    if (id == kMsgPenDown ? pen_ != PenOwner::kNone : pen_ != owner) return false;
    pen_ = id == kMsgPenUp ? PenOwner::kNone : owner;
    lastPen_ = PenParam(panel);
    Machine::Get().Post({id, 0, lastPen_});
    return true;
}

void DesktopHost::HandleKey(const SDL_KeyboardEvent& key) {
    const bool down = key.type == SDL_KEYDOWN;
    const SDL_Keycode code = key.keysym.sym;
    const MappedKey mapped = MapKey(code);
    // Releases always pass: a key let go under Alt must not stay held for the game.
    if (!down) {
        if (mapped.kind != MappedKey::kNone) ReleaseKey(mapped.code);
        return;
    }
    if ((key.keysym.mod & KMOD_ALT) != 0) return;
    if (mapped.kind != MappedKey::kNone) PressKey(mapped);
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    if (const uint32_t typed = ctrl ? 0 : TypedChar(code, key.keysym.mod); typed != 0) Type(typed);
}

void DesktopHost::PressKey(const MappedKey& key) {
    held_[key.code & 0xFF] = true;
    Machine::Get().Post({key.kind == MappedKey::kButton ? kMsgHotKey : kMsgKeyDown, key.code, 0});
}

// Only keys the game saw go down come up, and each once.
void DesktopHost::ReleaseKey(uint32_t code) {
    if (!held_[code & 0xFF]) return;
    held_[code & 0xFF] = false;
    Machine::Get().Post({kMsgKeyUp, code, 0});
}

// Keys and the stylus let go while another window has the keyboard would
// never come up for the game: release them now, then say why.
void DesktopHost::FocusLost() {
    for (uint32_t code = 0; code < held_.size(); ++code) ReleaseKey(code);
    if (pen_ != PenOwner::kNone) {
        pen_ = PenOwner::kNone;
        Machine::Get().Post({kMsgPenUp, 0, lastPen_});
    }
    pad_.Forget();
    Machine::Get().Post({kMsgFocusLost, 0, 0});
}

void DesktopHost::ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    window_.ShowMessageBox(text, caption, flags);
    // The time spent reading it is not game time to catch up on.
    Rebase(Machine::Get().Tick());
}

void DesktopHost::Delivering(const Message& message, uint32_t tick) {
    if (record_ == nullptr) return;
    const std::string line = FormatScriptLine(message, tick - recordStart_);
    if (!line.empty()) std::fprintf(record_, "%s\n", line.c_str());
}

// Without a display SDL falls back to drivers that show nothing; unless
// asked for, that is no window for a player. A window system that is only
// just starting can refuse the first connection, so ask a few times.
bool StartWindowSystem(uint32_t flags) {
    bool started = false;
    bool invisible = false;
    for (int attempt = 0; attempt < kDisplayAttempts; ++attempt) {
        if (attempt > 0) {
            SDL_Quit();
            SDL_Delay(200);
        }
        started = SDL_Init(flags) == 0;
        const char* driver = started ? SDL_GetCurrentVideoDriver() : nullptr;
        invisible = driver != nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr &&
                    (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (started && !invisible) return true;
    }
    std::fprintf(stderr,
                 "reedshot: no display (%s).\n"
                 "Run without a window instead: reedshot --headless --script FILE --shots DIR\n",
                 started ? "no window system answered" : SDL_GetError());
    SDL_Quit();
    return false;
}

template <class AnyHost>
bool Run(AnyHost& host, int (*entry)()) {
    if (!host.Begin()) return false;
    Machine::Get().SetHost(&host);
    entry();
    host.Finish();
    Trace("exit", nullptr);
    return true;
}

}  // namespace

int RunDesktop(const DesktopOptions& options, std::FILE* trace, const Script* replay, int (*entry)()) {
    // Pads are the player's; a replay has input of its own.
    const uint32_t pads = replay == nullptr ? SDL_INIT_GAMECONTROLLER : 0;
    if (!StartWindowSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS | pads)) return 1;
    Machine& machine = Machine::Get();
    machine.Reset();
    if (trace != nullptr) {
        machine.TraceTo(trace);
    } else {
        machine.TraceOff();
    }
    UseAudioDevice(options.mute ? AudioDevice::kNone : AudioDevice::kSdl);
    bool ran = false;
    if (replay != nullptr) {
        ReplayHost host(options, *replay);
        ran = Run(host, entry);
        machine.Reset();
    } else {
        machine.SetTick(UptimeMs());
        DesktopHost host(options);
        ran = Run(host, entry);
        machine.Reset();
    }
    SDL_Quit();
    return ran ? 0 : 1;
}

}  // namespace plat
