// The desktop: an SDL window showing the panel in landscape, mouse and
// keyboard as stylus and keys, the virtual clock paced by the wall clock.
#pragma once

#include <string>

namespace plat {

struct DesktopOptions {
    int scale = 0;  // 0: the largest that fits the desktop comfortably
    bool mute = false;
    std::string recordPath;
};

int RunDesktop(const DesktopOptions& options, int (*entry)());

}  // namespace plat
