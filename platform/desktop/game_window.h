// The desktop's window: the panel shown in landscape at a whole scale, the
// keys every windowed run shares (fullscreen, screenshot, mute, quit) and the
// rest of the system's events handed to the host that runs it.
#pragma once

#include <SDL.h>
#include <signal.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/panel_image.h"
#include "platform/desktop/letterbox.h"
#include "platform/desktop/window_placement.h"
#include "platform/platform.h"

namespace plat {

// What the window leaves to its host.
class WindowInput {
public:
    // Keys (repeats left out), mouse buttons and motion, pads.
    virtual void Input(const SDL_Event& event) = 0;
    virtual void FocusLost() = 0;

protected:
    ~WindowInput() = default;
};

class GameWindow {
public:
    // Closing the terminal or logging out ends the run as closing the window
    // does, so that shut-down saves; the window listens for it while it lives.
    GameWindow();
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // Scale 0: the largest that fits the desktop comfortably.
    bool Open(int scale, bool fullscreen);
    // Hands out what has arrived so far, not what keeps arriving: a flood of
    // input must not hold the heartbeat back.
    void Pump(WindowInput& input);
    // Shows a changed panel, at most once per display frame.
    void RefreshIfChanged();
    // The whole panel, or only the parts of it that changed.
    void Refresh();
    void Refresh(const PanelRect* parts, uint32_t count);

    bool MouseToPanel(int32_t x, int32_t y, bool clamp, Point& panel) const;
    void SetPointer(PointerShape shape);
    // The pointer a pad moves, drawn over the view; the mouse's is hidden meanwhile.
    void ShowPadPointer(Point view);
    void HidePadPointer();
    bool PadPointerShown() const { return padPointerShown_; }
    void SetTitle(const char* title);
    void Raise();
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags);
    // How the player leaves it: the windowed scale, even while fullscreen.
    WindowPlacement Placement() const;

private:
    bool HandleOwnKey(const SDL_KeyboardEvent& key);
    void NoteWindowedScale();
    Viewport CurrentViewport() const;
    void DrawPadPointer();
    // Scales one part of the view into the window's pixels; the window's rectangle.
    SDL_Rect ShowViewRect(SDL_Surface* surface, const Viewport& viewport, const ViewRect& part);

    SDL_Window* window_ = nullptr;
    SDL_Cursor* crosshair_ = nullptr;
    std::vector<uint16_t> view_ = std::vector<uint16_t>(size_t{kViewWidth} * kViewHeight);
    SDL_Surface* viewSurface_ = nullptr;  // over view_, for windows of uncommon pixel formats
    std::vector<uint32_t> colours_;       // window pixel of each 5-6-5 colour
    uint32_t coloursFormat_ = SDL_PIXELFORMAT_UNKNOWN;
    uint64_t lastRefresh_ = 0;
    bool overlayChanged_ = false;
    bool padPointerShown_ = false;
    Point padPointer_{};
    int windowedScale_ = 1;
    struct sigaction hangUpBefore_ {};
};

}  // namespace plat
