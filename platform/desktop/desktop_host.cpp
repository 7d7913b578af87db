#include "platform/desktop/desktop_host.h"

#include <SDL.h>

#include <signal.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <vector>

#include "platform/audio/system_devices.h"
#include "platform/core/machine.h"
#include "platform/core/panel_image.h"
#include "platform/core/script.h"
#include "platform/desktop/key_map.h"
#include "platform/desktop/letterbox.h"
#include "platform/desktop/single_instance.h"

namespace plat {

namespace {

// Behind the wall clock by more than this (a message box, a stall), the
// clock stops catching up and simply goes on from now.
constexpr int32_t kMaxLagMs = 100;
constexpr uint64_t kRefreshMs = 16;
constexpr int kDisplayAttempts = 3;

// The handheld's tick told the milliseconds since the device was switched
// on; seeds taken from it then differ from one start to the next.
uint32_t UptimeMs() {
    timespec now{};
    if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) return static_cast<uint32_t>(SDL_GetTicks64());
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000 + static_cast<uint64_t>(now.tv_nsec) / 1000000);
}

// Closing the terminal or logging out ends the game like closing its window,
// so that shut-down saves (SDL turns SIGINT and SIGTERM into a quit itself).
volatile std::sig_atomic_t g_hungUp = 0;

void OnHangUp(int /*signal*/) { g_hungUp = 1; }

std::string ScreenshotPath() {
    const char* home = std::getenv("HOME");
    std::filesystem::path dir = home != nullptr ? std::filesystem::path(home) / "Pictures" : ".";
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    char name[64];
    const std::time_t now = std::time(nullptr);
    std::strftime(name, sizeof name, "reedshot-%Y%m%d-%H%M%S.png", std::localtime(&now));
    return (dir / name).string();
}

class DesktopHost final : public Host {
public:
    explicit DesktopHost(const DesktopOptions& options) : options_(options) {}
    ~DesktopHost() override;

    bool Begin();
    void WaitFor(uint32_t dueTick) override { Wait(dueTick, true); }
    void SleepUntil(uint32_t dueTick) override { Wait(dueTick, false); }
    void CatchUp() override;
    uint32_t CreepFrom(uint32_t tick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    bool ActivateRunningInstance(const char* className, const char* title) override;
    bool CreateMainWindow(const char* className, const char* title) override;
    void Delivering(const Message& message, uint32_t tick) override;
    void SetPointer(PointerShape shape) override;
    void Finish();

private:
    // The wall clock on the virtual clock's scale.
    uint32_t WallTick() const { return static_cast<uint32_t>(SDL_GetTicks64()) + wallOffset_; }
    // Behind the wall clock by more than kMaxLagMs, the wall clock waits instead.
    void Rebase(uint32_t tick);
    void Wait(uint32_t dueTick, bool untilMessage);
    void Pump();
    void Handle(const SDL_Event& event);
    void HandleKey(const SDL_KeyboardEvent& key, bool down);
    void PressKey(const MappedKey& key);
    void ReleaseKey(uint32_t code);
    void LoseFocus();
    void Refresh();
    Viewport CurrentViewport() const;
    bool MouseToPanel(int32_t x, int32_t y, bool clamp, Point& panel) const;

    DesktopOptions options_;
    SingleInstance instance_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::vector<uint16_t> view_ = std::vector<uint16_t>(size_t{kViewWidth} * kViewHeight);
    uint32_t wallOffset_ = 0;
    uint64_t lastRefresh_ = 0;
    bool penDown_ = false;
    uint32_t lastPen_ = 0;              // where the stylus last was, as pen messages carry it
    std::array<bool, 256> held_{};      // keys and buttons the game has seen go down
    SDL_Cursor* crosshair_ = nullptr;
    std::FILE* record_ = nullptr;
    uint32_t recordStart_ = 0;
};

DesktopHost::~DesktopHost() {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (crosshair_ != nullptr) SDL_FreeCursor(crosshair_);
}

bool DesktopHost::Begin() {
    const uint32_t start = Machine::Get().Tick();
    if (!options_.recordPath.empty()) {
        record_ = std::fopen(options_.recordPath.c_str(), "w");
        if (record_ == nullptr) {
            std::fprintf(stderr, "reedshot: cannot write the recording %s\n", options_.recordPath.c_str());
            return false;
        }
        std::fprintf(record_, "# reedshot input recording; replay with reedshot --headless%s --script FILE\n%s\n",
                     StartOption("hunt") ? " --hunt" : "", FormatStartLine(start).c_str());
        recordStart_ = start;
    }
    wallOffset_ = start - static_cast<uint32_t>(SDL_GetTicks64());
    return true;
}

void DesktopHost::Finish() {
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
    int scale = options_.scale;
    if (scale == 0) {
        SDL_Rect usable{0, 0, 1024, 768};
        SDL_GetDisplayUsableBounds(0, &usable);
        // Leave room for window decorations and the rest of the desktop.
        scale = std::max(1, std::min(usable.w * 85 / 100 / kViewWidth, usable.h * 85 / 100 / kViewHeight));
    }
    // The visible caption is the game's name; the single-instance name stays the program's own.
    window_ = SDL_CreateWindow("Reedshot", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kViewWidth * scale,
                               kViewHeight * scale, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        std::fprintf(stderr, "reedshot: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kViewWidth, kViewHeight);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    renderer_ = SDL_CreateRenderer(window_, -1, 0);  // no vsync: a refresh never waits for the display
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kViewWidth,
                                     kViewHeight);
    }
    if (texture_ == nullptr) {
        std::fprintf(stderr, "reedshot: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
    // Titled and shown only now: a renderer may have had to recreate the window.
    SDL_SetWindowTitle(window_, "Reedshot");
    SDL_ShowWindow(window_);
    SDL_ShowCursor(SDL_ENABLE);
    Refresh();
    return true;
}

Viewport DesktopHost::CurrentViewport() const {
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    return FitView(w, h);
}

bool DesktopHost::MouseToPanel(int32_t x, int32_t y, bool clamp, Point& panel) const {
    // Mouse positions come in window points; HiDPI output has more pixels.
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetRendererOutputSize(renderer_, &ow, &oh);
    const int32_t px = static_cast<int32_t>(int64_t{x} * ow / std::max(ww, 1));
    const int32_t py = static_cast<int32_t>(int64_t{y} * oh / std::max(wh, 1));
    return OutputToPanel(CurrentViewport(), px, py, clamp, panel);
}

void DesktopHost::Refresh() {
    if (texture_ == nullptr) return;
    RotatePanelToView(Machine::Get().Panel(), view_.data());
    SDL_UpdateTexture(texture_, nullptr, view_.data(), kViewWidth * 2);
    const Viewport v = CurrentViewport();
    const SDL_Rect target{v.x, v.y, kViewWidth * v.scale, kViewHeight * v.scale};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
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
        // At most one refresh per display frame; a later wait shows the rest.
        if (SDL_GetTicks64() >= lastRefresh_ + kRefreshMs && machine.TakeDirty()) {
            Refresh();
            lastRefresh_ = SDL_GetTicks64();
        }
        const int32_t left = static_cast<int32_t>(dueTick - WallTick());
        if (left <= 0) return;
        SDL_WaitEventTimeout(nullptr, std::min(left, 1000));
    }
}

void DesktopHost::Pump() {
    if (instance_.TakeRaiseRequest() && window_ != nullptr) {
        SDL_RestoreWindow(window_);
        SDL_RaiseWindow(window_);
    }
    // What has arrived so far, not what keeps arriving: a flood of input
    // must not hold the heartbeat back.
    SDL_PumpEvents();
    SDL_Event events[32];
    for (int n; (n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0;) {
        for (int i = 0; i < n; ++i) Handle(events[i]);
    }
    if (g_hungUp != 0) Machine::Get().End();
}

void DesktopHost::Handle(const SDL_Event& event) {
    Machine& machine = Machine::Get();
    Point panel{};
    switch (event.type) {
        case SDL_QUIT:
            machine.End();
            break;
        case SDL_AUDIODEVICEREMOVED:
            if (event.adevice.iscapture == 0) SdlDevice().DeviceRemoved(event.adevice.which);
            break;
        case SDL_AUDIODEVICEADDED:
            if (event.adevice.iscapture == 0) SdlDevice().DeviceAdded();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_EXPOSED || event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                Refresh();
            if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) LoseFocus();
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            HandleKey(event.key, event.type == SDL_KEYDOWN);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_RIGHT) {
                PressKey({MappedKey::kButton, kVkHardware1 + 2});
            } else if (event.button.button == SDL_BUTTON_LEFT && !penDown_ &&
                       MouseToPanel(event.button.x, event.button.y, false, panel)) {
                penDown_ = true;
                lastPen_ = PenParam(panel);
                machine.Post({kMsgPenDown, 0, lastPen_});
            }
            break;
        case SDL_MOUSEMOTION:
            if (penDown_ && MouseToPanel(event.motion.x, event.motion.y, true, panel)) {
                lastPen_ = PenParam(panel);
                machine.Post({kMsgPenMove, 0, lastPen_});
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_RIGHT) {
                ReleaseKey(kVkHardware1 + 2);
            } else if (event.button.button == SDL_BUTTON_LEFT && penDown_ &&
                       MouseToPanel(event.button.x, event.button.y, true, panel)) {
                penDown_ = false;
                machine.Post({kMsgPenUp, 0, PenParam(panel)});
            }
            break;
        default:
            break;
    }
}

void DesktopHost::HandleKey(const SDL_KeyboardEvent& key, bool down) {
    Machine& machine = Machine::Get();
    // The game repeats held keys itself.
    if (key.repeat != 0) return;
    const SDL_Keycode code = key.keysym.sym;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if (down && ctrl && code == SDLK_q) {
        machine.End();
        return;
    }
    if (down && (code == SDLK_F11 || (alt && (code == SDLK_RETURN || code == SDLK_KP_ENTER)))) {
        const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    if (down && code == SDLK_F12) {
        const std::string path = ScreenshotPath();
        if (WriteViewPng(path, machine.Panel())) {
            std::printf("reedshot: screenshot saved to %s\n", path.c_str());
        } else {
            std::fprintf(stderr, "reedshot: could not save a screenshot to %s\n", path.c_str());
        }
        std::fflush(stdout);
        return;
    }
    const MappedKey mapped = MapKey(code);
    // Releases always pass: a key let go under Alt must not stay held for the game.
    if (!down) {
        if (mapped.kind != MappedKey::kNone) ReleaseKey(mapped.code);
        return;
    }
    if (alt) return;
    if (mapped.kind != MappedKey::kNone) PressKey(mapped);
    if (const uint32_t typed = ctrl ? 0 : TypedChar(code, key.keysym.mod); typed != 0)
        machine.Post({kMsgChar, typed, 0});
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
void DesktopHost::LoseFocus() {
    for (uint32_t code = 0; code < held_.size(); ++code) ReleaseKey(code);
    if (penDown_) {
        penDown_ = false;
        Machine::Get().Post({kMsgPenUp, 0, lastPen_});
    }
    Machine::Get().Post({kMsgFocusLost, 0, 0});
}

void DesktopHost::SetPointer(PointerShape shape) {
    if (shape == kPointerCrosshair && crosshair_ == nullptr)
        crosshair_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
    SDL_Cursor* cursor = shape == kPointerCrosshair ? crosshair_ : SDL_GetDefaultCursor();
    if (cursor != nullptr) SDL_SetCursor(cursor);
}

void DesktopHost::ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    std::fprintf(stderr, "reedshot: [%s] %s\n", caption, text);
    if (Machine::Get().TakeDirty()) Refresh();
    const Uint32 kind = (flags & kMbIconStop) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(kind, caption, text, window_);
    // The time spent reading it is not game time to catch up on.
    Rebase(Machine::Get().Tick());
}

void DesktopHost::Delivering(const Message& message, uint32_t tick) {
    if (record_ == nullptr) return;
    const std::string line = FormatScriptLine(message, tick - recordStart_);
    if (!line.empty()) std::fprintf(record_, "%s\n", line.c_str());
}

}  // namespace

int RunDesktop(const DesktopOptions& options, int (*entry)()) {
    bool started = false;
    bool invisible = false;
    // Without a display SDL falls back to drivers that show nothing; unless
    // asked for, that is no window for a player. A window system that is only
    // just starting can refuse the first connection, so ask a few times.
    for (int attempt = 0; attempt < kDisplayAttempts; ++attempt) {
        if (attempt > 0) {
            SDL_Quit();
            SDL_Delay(200);
        }
        started = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) == 0;
        const char* driver = started ? SDL_GetCurrentVideoDriver() : nullptr;
        invisible = driver != nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr &&
                    (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (started && !invisible) break;
    }
    if (!started || invisible) {
        std::fprintf(stderr,
                     "reedshot: no display (%s).\n"
                     "Run without a window instead: reedshot --headless --script FILE --shots DIR\n",
                     started ? "no window system answered" : SDL_GetError());
        SDL_Quit();
        return 1;
    }
    g_hungUp = 0;
    struct sigaction hangUp {};
    hangUp.sa_handler = &OnHangUp;
    sigemptyset(&hangUp.sa_mask);
    struct sigaction before {};
    sigaction(SIGHUP, &hangUp, &before);
    // Started under nohup: the hang-up stays ignored.
    if (before.sa_handler == SIG_IGN) sigaction(SIGHUP, &before, nullptr);
    Machine& machine = Machine::Get();
    machine.Reset();
    machine.TraceOff();
    machine.SetTick(UptimeMs());
    UseAudioDevice(options.mute ? AudioDevice::kNone : AudioDevice::kSdl);
    int status = 1;
    {
        DesktopHost host(options);
        if (host.Begin()) {
            machine.SetHost(&host);
            entry();
            host.Finish();
            status = 0;
        }
        machine.Reset();
    }
    sigaction(SIGHUP, &before, nullptr);
    SDL_Quit();
    return status;
}

}  // namespace plat
