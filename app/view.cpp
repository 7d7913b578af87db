#include "app/view.h"

#include "graphics/scene.h"
#include "widgets/control.h"

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

void View::ShowControl(Control& control, uint8_t layer) {
    if (!control.visible) return;
    scene_->AddSprite(control.sprite, layer);
    scene_->MarkSpriteDirty(control.sprite);
}

void View::RemoveControl(int index) {
    if (index < 0 || index >= controlCount_) return;
    scene_->RemoveSprite(controls_[index]->sprite);
    controlCount_ = static_cast<uint8_t>(controlCount_ - 1);
    controls_[index] = controls_[controlCount_];
    controls_[controlCount_] = nullptr;
}

void View::ClearControls() {
    scene_->ClearSprites();
    for (Control*& control : controls_) control = nullptr;
    controlCount_ = 0;
}

void View::SetControlVisible(int index, bool visible) {
    if (index >= 0 && index < controlCount_) controls_[index]->visible = visible;
}

int View::RouteToControls(InputEvent& event) {
    InputEvent offered = event;
    for (int i = 0; i < controlCount_; ++i) {
        Control& control = *controls_[i];
        const uint8_t result = control.HandleEvent(offered);
        if (result == 0) continue;
        scene_->PresentOneSprite(control.sprite);
        event = offered;
        return result;
    }
    return kNotConsumed;
}

void View::DrawBackdrop(uint16_t id, bool keyed, bool blend) {
    gfx::Picture picture;
    gfx::LoadSharedPicture(picture, id, static_cast<uint16_t>(area_.right - area_.left),
                           static_cast<uint16_t>(area_.bottom - area_.top));
    gfx::Sprite sprite;
    gfx::SetSpritePicture(sprite, &picture, area_.left, area_.top, false, keyed, blend, gfx::kKeyFromImage);
    scene_->DrawOneSprite(sprite);
    gfx::FreePicture(picture);
}
