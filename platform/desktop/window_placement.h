// How the player left the desktop window: its whole scale and whether it was
// fullscreen, kept per user in the store apart from the game's own settings.
#pragma once

namespace plat {

struct WindowPlacement {
    int scale = 0;  // 0: none kept yet
    bool fullscreen = false;
};

constexpr int kMaxWindowScale = 16;

WindowPlacement LoadWindowPlacement();
void SaveWindowPlacement(const WindowPlacement& placement);

}  // namespace plat
