#include "widgets/toggle_box.h"

#include "graphics/sprite.h"

void ToggleBox::InitToggle(uint16_t toggleId, int32_t x, int32_t y, int16_t boxWidth, int16_t boxHeight,
                           uint16_t firstPicture, uint16_t lastPicture, int32_t initialState, const FrameSet* shared,
                           bool isVisible, bool keyed, bool blend, int32_t period, int32_t mode) {
    ReleaseFrames();
    const FrameSet* looks = shared;
    if (looks == nullptr) {
        OwnFrames().LoadFrames(firstPicture, lastPicture, static_cast<uint16_t>(boxWidth),
                               static_cast<uint16_t>(boxHeight));
        looks = frames;
    }
    id = toggleId;
    width = boxWidth;
    height = boxHeight;
    state = initialState;
    visible = isVisible;
    sprite.InitAnimation(*looks, x, y, false, keyed, blend, period, mode, gfx::kKeyFromImage);
    sprite.SetFrame(state);
}

bool ToggleBox::HitTest(int32_t px, int32_t py) const {
    return px >= sprite.x && px <= sprite.x + width && py >= sprite.y && py <= sprite.y + height;
}

uint8_t ToggleBox::HandleEvent(InputEvent& event) {
    if (event.type != kEventPenDown || (state != 0 && state != 1) || !HitTest(event.x, event.y)) return 0;
    state = 1 - state;
    sprite.SetFrame(state);
    event.type = kEventControlToggled;
    event.payload[kSlotControlId] = id;
    event.payload[kSlotControlValue] = static_cast<uint16_t>(state);
    return 1;
}
