#include "platform/desktop/window_placement.h"

#include <cstdint>

#include "platform/store/store_host.h"

namespace plat {

namespace {
constexpr const char* kScale = "WindowScale";
constexpr const char* kFullscreen = "WindowFullscreen";
}  // namespace

WindowPlacement LoadWindowPlacement() {
    WindowPlacement placement;
    int32_t value = 0;
    // A scale this program could not have written is no scale.
    if (ReadHostPreference(kScale, value) && value >= 1 && value <= kMaxWindowScale) placement.scale = value;
    if (ReadHostPreference(kFullscreen, value)) placement.fullscreen = value != 0;
    return placement;
}

void SaveWindowPlacement(const WindowPlacement& placement) {
    if (placement.scale >= 1) WriteHostPreference(kScale, placement.scale);
    WriteHostPreference(kFullscreen, placement.fullscreen ? 1 : 0);
}

}  // namespace plat
