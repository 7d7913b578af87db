#include "app/view.h"

#include "graphics/scene.h"

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

void View::DrawBackdrop(uint16_t id, bool keyed, bool blend) {
    gfx::Picture picture;
    gfx::LoadPicture(picture, id, static_cast<uint16_t>(area_.right - area_.left),
                     static_cast<uint16_t>(area_.bottom - area_.top));
    gfx::Sprite sprite;
    gfx::SetSpritePicture(sprite, &picture, area_.left, area_.top, false, keyed, blend, gfx::kKeyFromImage);
    scene_->DrawOneSprite(sprite);
    gfx::FreePicture(picture);
}
