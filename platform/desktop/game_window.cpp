#include "platform/desktop/game_window.h"

#include <time.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "platform/audio/system_devices.h"
#include "platform/core/machine.h"

namespace plat {

namespace {

constexpr uint64_t kRefreshMs = 16;
constexpr uint16_t kPointerInk = 0xFFFF;
constexpr uint16_t kPointerEdge = 0x0000;

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

void TakeScreenshot() {
    const std::string path = ScreenshotPath();
    if (WriteViewPng(path, Machine::Get().Panel())) {
        std::printf("reedshot: screenshot saved to %s\n", path.c_str());
    } else {
        std::fprintf(stderr, "reedshot: could not save a screenshot to %s\n", path.c_str());
    }
    std::fflush(stdout);
}

}  // namespace

GameWindow::GameWindow() {
    g_hungUp = 0;
    struct sigaction hangUp {};
    hangUp.sa_handler = &OnHangUp;
    sigemptyset(&hangUp.sa_mask);
    sigaction(SIGHUP, &hangUp, &hangUpBefore_);
    // Started under nohup: the hang-up stays ignored.
    if (hangUpBefore_.sa_handler == SIG_IGN) sigaction(SIGHUP, &hangUpBefore_, nullptr);
}

GameWindow::~GameWindow() {
    if (viewSurface_ != nullptr) SDL_FreeSurface(viewSurface_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (crosshair_ != nullptr) SDL_FreeCursor(crosshair_);
    sigaction(SIGHUP, &hangUpBefore_, nullptr);
}

bool GameWindow::Open(int scale, bool fullscreen) {
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &usable);
    // Leave room for window decorations and the rest of the desktop.
    const int fits = std::max(1, std::min(usable.w * 85 / 100 / kViewWidth, usable.h * 85 / 100 / kViewHeight));
    windowedScale_ = scale > 0 ? scale : fits;
    window_ = SDL_CreateWindow("Reedshot", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kViewWidth * windowedScale_,
                               kViewHeight * windowedScale_,
                               SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) {
        std::fprintf(stderr, "reedshot: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(window_, kViewWidth, kViewHeight);
    // The window's own pixels, not a renderer: a frame changes a few small
    // parts, and only those are scaled and handed to the window system (a
    // renderer draws the whole window every time, in software without a GPU).
    // The window system's own shared pixels, not a texture behind SDL's back.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    viewSurface_ = SDL_CreateRGBSurfaceWithFormatFrom(view_.data(), kViewWidth, kViewHeight, 16, kViewWidth * 2,
                                                      SDL_PIXELFORMAT_RGB565);
    if (viewSurface_ == nullptr || SDL_GetWindowSurface(window_) == nullptr) {
        std::fprintf(stderr, "reedshot: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
    SDL_SetWindowTitle(window_, "Reedshot");
    SDL_ShowWindow(window_);
    if (fullscreen) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_ShowCursor(SDL_ENABLE);
    Refresh();
    return true;
}

void GameWindow::Pump(WindowInput& input) {
    SDL_PumpEvents();
    SDL_Event events[32];
    for (int n; (n = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0;) {
        for (int i = 0; i < n; ++i) {
            const SDL_Event& event = events[i];
            switch (event.type) {
                case SDL_QUIT:
                    Machine::Get().End();
                    break;
                case SDL_AUDIODEVICEREMOVED:
                    if (event.adevice.iscapture == 0) SdlDevice().DeviceRemoved(event.adevice.which);
                    break;
                case SDL_AUDIODEVICEADDED:
                    if (event.adevice.iscapture == 0) SdlDevice().DeviceAdded();
                    break;
                case SDL_WINDOWEVENT:
                    if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) NoteWindowedScale();
                    if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                        event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)
                        Refresh();
                    if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) input.FocusLost();
                    break;
                case SDL_KEYDOWN:
                case SDL_KEYUP:
                    // The game repeats held keys itself.
                    if (event.key.repeat == 0 && !HandleOwnKey(event.key)) input.Input(event);
                    break;
                default:
                    input.Input(event);
                    break;
            }
        }
    }
    if (g_hungUp != 0) Machine::Get().End();
}

bool GameWindow::HandleOwnKey(const SDL_KeyboardEvent& key) {
    if (key.type != SDL_KEYDOWN) return false;
    const SDL_Keycode code = key.keysym.sym;
    const bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if (ctrl && code == SDLK_q) {
        Machine::Get().End();
    } else if (ctrl && code == SDLK_m) {
        // The device alone goes quiet: the game's volumes stay as they are.
        SdlDevice().SetMuted(!SdlDevice().Muted());
    } else if (code == SDLK_F11 || (alt && (code == SDLK_RETURN || code == SDLK_KP_ENTER))) {
        const bool full = (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else if (code == SDLK_F12) {
        TakeScreenshot();
    } else {
        return false;
    }
    return true;
}

// The scale the player gave the window; sizes it takes while fullscreen are not theirs.
void GameWindow::NoteWindowedScale() {
    if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return;
    int w = 0, h = 0;
    SDL_GetWindowSize(window_, &w, &h);
    windowedScale_ = std::clamp(std::min(w / kViewWidth, h / kViewHeight), 1, kMaxWindowScale);
}

WindowPlacement GameWindow::Placement() const {
    return {windowedScale_, (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0};
}

Viewport GameWindow::CurrentViewport() const {
    const SDL_Surface* surface = SDL_GetWindowSurface(window_);
    return surface != nullptr ? FitView(surface->w, surface->h) : FitView(kViewWidth, kViewHeight);
}

bool GameWindow::MouseToPanel(int32_t x, int32_t y, bool clamp, Point& panel) const {
    // Mouse positions come in window points; HiDPI output has more pixels.
    int ww = 1, wh = 1, ow = 1, oh = 1;
    SDL_GetWindowSize(window_, &ww, &wh);
    SDL_GetWindowSizeInPixels(window_, &ow, &oh);
    const int32_t px = static_cast<int32_t>(int64_t{x} * ow / std::max(ww, 1));
    const int32_t py = static_cast<int32_t>(int64_t{y} * oh / std::max(wh, 1));
    return OutputToPanel(CurrentViewport(), px, py, clamp, panel);
}

void GameWindow::RefreshIfChanged() {
    if (SDL_GetTicks64() < lastRefresh_ + kRefreshMs) return;
    // Both are taken: a pass that refreshes shows both changes.
    PanelRect parts[PanelChanges::kMaxRects];
    const uint32_t count = Machine::Get().TakeChanges(parts);
    if (count == 0 && !overlayChanged_) return;
    // The pad's pointer is drawn over the view: with it, the whole view goes.
    if (overlayChanged_ || padPointerShown_) {
        Refresh();
    } else {
        Refresh(parts, count);
    }
    lastRefresh_ = SDL_GetTicks64();
}

void GameWindow::Refresh() {
    const PanelRect all{0, 0, kPanelWidth, kPanelHeight};
    Refresh(&all, 1);
}

void GameWindow::Refresh(const PanelRect* parts, uint32_t count) {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr) return;
    overlayChanged_ = false;
    const uint16_t* panel = Machine::Get().Panel();
    for (uint32_t i = 0; i < count; ++i) {
        RotatePanelRectToView(panel, parts[i], view_.data(), kViewWidth, [](uint16_t c) { return c; });
    }
    if (padPointerShown_) DrawPadPointer();
    const Viewport viewport = CurrentViewport();
    const bool whole = count == 1 && parts[0].left == 0 && parts[0].top == 0 && parts[0].right == kPanelWidth &&
                       parts[0].bottom == kPanelHeight;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    // The whole view comes with the bars around it (a resize leaves them undefined).
    if (whole) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_Rect shown[PanelChanges::kMaxRects];
    for (uint32_t i = 0; i < count; ++i) shown[i] = ShowViewRect(surface, viewport, PanelRectToView(parts[i]));
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (whole) {
        SDL_UpdateWindowSurface(window_);
    } else {
        SDL_UpdateWindowSurfaceRects(window_, shown, static_cast<int>(count));
    }
}

SDL_Rect GameWindow::ShowViewRect(SDL_Surface* surface, const Viewport& viewport, const ViewRect& part) {
    const int32_t s = viewport.scale;
    SDL_Rect to{viewport.x + part.x * s, viewport.y + part.y * s, part.width * s, part.height * s};
    SDL_Rect inside{};
    SDL_IntersectRect(&to, &surface->clip_rect, &inside);
    if (surface->format->BytesPerPixel != 4 || !SDL_RectEquals(&to, &inside)) {
        // Uncommon formats, or a window smaller than the view: SDL's own
        // scaling blit converts and clips as it goes.
        SDL_Rect from{part.x, part.y, part.width, part.height};
        SDL_BlitScaled(viewSurface_, &from, surface, &to);
        return inside;
    }
    if (coloursFormat_ != surface->format->format) {
        colours_.resize(65536);
        for (uint32_t c = 0; c < 65536; ++c) {
            const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
            colours_[c] = SDL_MapRGB(surface->format, static_cast<uint8_t>((r << 3) | (r >> 2)),
                                     static_cast<uint8_t>((g << 2) | (g >> 4)), static_cast<uint8_t>((b << 3) | (b >> 2)));
        }
        coloursFormat_ = surface->format->format;
    }
    // Each view pixel becomes an s x s block: one row made, then repeated.
    auto* pixels = static_cast<uint8_t*>(surface->pixels);
    for (int32_t y = 0; y < part.height; ++y) {
        auto* first = reinterpret_cast<uint32_t*>(pixels + size_t(to.y + y * s) * surface->pitch) + to.x;
        const uint16_t* in = &view_[size_t(part.y + y) * kViewWidth + part.x];
        uint32_t* out = first;
        for (int32_t x = 0; x < part.width; ++x) {
            const uint32_t c = colours_[in[x]];
            for (int32_t k = 0; k < s; ++k) *out++ = c;
        }
        for (int32_t k = 1; k < s; ++k) {
            std::memcpy(reinterpret_cast<uint8_t*>(first) + size_t(k) * surface->pitch, first, size_t(to.w) * 4);
        }
    }
    return to;
}

// A small cross, white edged with black so that it shows on any ground.
void GameWindow::DrawPadPointer() {
    auto put = [&](int32_t x, int32_t y, uint16_t colour) {
        if (x >= 0 && x < kViewWidth && y >= 0 && y < kViewHeight) view_[size_t(y) * kViewWidth + x] = colour;
    };
    const int32_t cx = padPointer_.x, cy = padPointer_.y;
    for (int32_t d = -6; d <= 6; ++d) {
        if (d >= -1 && d <= 1) continue;
        for (int32_t side = -1; side <= 1; side += 2) {
            put(cx + d, cy + side, kPointerEdge);
            put(cx + side, cy + d, kPointerEdge);
        }
    }
    for (int32_t d = -6; d <= 6; ++d) {
        if (d >= -1 && d <= 1) continue;
        put(cx + d, cy, kPointerInk);
        put(cx, cy + d, kPointerInk);
    }
    put(cx, cy, kPointerInk);
}

void GameWindow::ShowPadPointer(Point view) {
    if (padPointerShown_ && view.x == padPointer_.x && view.y == padPointer_.y) return;
    if (!padPointerShown_) SDL_ShowCursor(SDL_DISABLE);
    padPointerShown_ = true;
    padPointer_ = view;
    overlayChanged_ = true;
}

void GameWindow::HidePadPointer() {
    if (!padPointerShown_) return;
    padPointerShown_ = false;
    overlayChanged_ = true;
    SDL_ShowCursor(SDL_ENABLE);
}

void GameWindow::SetPointer(PointerShape shape) {
    if (shape == kPointerCrosshair && crosshair_ == nullptr)
        crosshair_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR);
    SDL_Cursor* cursor = shape == kPointerCrosshair ? crosshair_ : SDL_GetDefaultCursor();
    if (cursor != nullptr) SDL_SetCursor(cursor);
}

void GameWindow::SetTitle(const char* title) { SDL_SetWindowTitle(window_, title); }

void GameWindow::Raise() {
    SDL_RestoreWindow(window_);
    SDL_RaiseWindow(window_);
}

void GameWindow::ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
    std::fprintf(stderr, "reedshot: [%s] %s\n", caption, text);
    PanelRect parts[PanelChanges::kMaxRects];
    Machine::Get().TakeChanges(parts);
    Refresh();
    const Uint32 kind = (flags & kMbIconStop) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(kind, caption, text, window_);
}

}  // namespace plat
