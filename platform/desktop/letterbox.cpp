#include "platform/desktop/letterbox.h"

#include <algorithm>

namespace plat {

namespace {

// Floor division, so that a point just left of the view stays outside.
int32_t FloorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

Viewport FitView(int32_t outputWidth, int32_t outputHeight) {
    const int32_t scale = std::max(1, std::min(outputWidth / kViewWidth, outputHeight / kViewHeight));
    return {(outputWidth - kViewWidth * scale) / 2, (outputHeight - kViewHeight * scale) / 2, scale};
}

bool OutputToPanel(const Viewport& viewport, int32_t x, int32_t y, bool clamp, Point& panel) {
    Point view{FloorDiv(x - viewport.x, viewport.scale), FloorDiv(y - viewport.y, viewport.scale)};
    const bool inside = view.x >= 0 && view.x < kViewWidth && view.y >= 0 && view.y < kViewHeight;
    if (!inside && !clamp) return false;
    view.x = std::clamp(view.x, 0, kViewWidth - 1);
    view.y = std::clamp(view.y, 0, kViewHeight - 1);
    panel = ViewToPanel(view);
    return true;
}

}  // namespace plat
