// The desktop: an SDL window showing the panel in landscape, mouse, keyboard
// and game controllers as stylus and keys, the virtual clock paced by the
// wall clock; or the same window replaying a recording.
#pragma once

#include <cstdio>
#include <string>

#include "platform/core/script.h"

namespace plat {

struct DesktopOptions {
    int scale = 0;  // 0: as the player left the window, or the largest that fits
    bool mute = false;
    std::string recordPath;
};

// `trace`: where the trace goes (null: nowhere). `replay`: a recording to play
// in the window instead of the player's input.
int RunDesktop(const DesktopOptions& options, std::FILE* trace, const Script* replay, int (*entry)());

}  // namespace plat
