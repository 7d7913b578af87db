#include "app/view.h"

void View::SetArea(int32_t left, int32_t top, int32_t width, int32_t height) {
    const auto l = static_cast<int16_t>(left);
    const auto t = static_cast<int16_t>(top);
    area_ = {l, t, l + static_cast<int16_t>(width), t + static_cast<int16_t>(height)};
}

bool View::AddControl(Control* control) {
    if (controlCount_ >= kMaxControls) return false;
    controls_[controlCount_] = control;
    controlCount_ = static_cast<uint8_t>(controlCount_ + 1);
    return true;
}
