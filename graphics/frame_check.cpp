#include "graphics/frame_check.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "graphics/blit.h"
#include "platform/platform.h"

namespace gfx {

FrameCheck::~FrameCheck() { Stop(); }

bool FrameCheck::Start(Display& display) {
    Stop();
    const Surface& screen = display.GetDisplaySurface();
    window_ = new (std::nothrow) Surface(screen.width, screen.height);
    reference_ = new (std::nothrow) Surface(screen.width, screen.height);
    if (window_ == nullptr || reference_ == nullptr || window_->pixels == nullptr || reference_->pixels == nullptr) {
        Stop();
        return false;
    }
    display_ = &display;
    differing_ = 0;
    // The window starts black, as the surface does.
    display.MirrorTo(window_);
    return true;
}

void FrameCheck::Stop() {
    if (display_ != nullptr) display_->MirrorTo(nullptr);
    display_ = nullptr;
    delete window_;
    delete reference_;
    window_ = nullptr;
    reference_ = nullptr;
}

void FrameCheck::Begin() {
    if (On()) BlitCopyWhole(display_->GetDisplaySurface(), *reference_, Point{0, 0});
}

bool FrameCheck::Matches() {
    if (!On()) return true;
    uint32_t pixels = 0;
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = 0; y < static_cast<int32_t>(window_->height); ++y) {
        const uint16_t* shown = window_->Row(y);
        const uint16_t* meant = reference_->Row(y);
        for (int32_t x = 0; x < static_cast<int32_t>(window_->width); ++x) {
            if (shown[x] == meant[x]) continue;
            ++pixels;
            box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                       std::max(box.bottom, y + 1)};
        }
    }
    if (pixels == 0) return true;
    ++differing_;
    char fields[112];
    std::snprintf(fields, sizeof fields, "\"pixels\":%u,\"left\":%d,\"top\":%d,\"right\":%d,\"bottom\":%d", pixels,
                  box.left, box.top, box.right, box.bottom);
    plat::Trace("frame_differs", fields);
    return false;
}

}  // namespace gfx
