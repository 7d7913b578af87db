#include "widgets/button.h"

#include "graphics/sprite.h"

void Button::InitButton(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight,
                        uint16_t firstPicture, uint16_t lastPicture, int32_t initialState, bool isVisible, bool keyed,
                        bool blend, int32_t period, int32_t mode, bool movable) {
    ReleaseFrames();
    OwnFrames().LoadFrames(firstPicture, lastPicture, static_cast<uint16_t>(boxWidth),
                           static_cast<uint16_t>(boxHeight));
    Place(buttonId, x, y, boxWidth, boxHeight, initialState, isVisible, keyed, blend, period, mode, movable);
}

void Button::InitButtonShared(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight,
                              gfx::Picture* const* pictures, int32_t count, int32_t initialState, bool isVisible,
                              bool keyed, bool blend, int32_t period, int32_t mode, bool movable) {
    ReleaseFrames();
    OwnFrames().UseFrames(pictures, count);
    Place(buttonId, x, y, boxWidth, boxHeight, initialState, isVisible, keyed, blend, period, mode, movable);
}

void Button::Place(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight, int32_t initialState,
                   bool isVisible, bool keyed, bool blend, int32_t period, int32_t mode, bool movable) {
    id = buttonId;
    width = boxWidth;
    height = boxHeight;
    state = initialState;
    visible = isVisible;
    tracking = false;
    sprite.InitAnimation(*frames, x, y, movable, keyed, blend, period, mode, gfx::kKeyFromImage);
}

bool Button::HitTest(int32_t px, int32_t py) const {
    return px >= sprite.x && px <= sprite.x + width && py >= sprite.y && py <= sprite.y + height;
}

void Button::SetState(int32_t newState) {
    state = newState;
    sprite.SetFrame(newState == kPressed ? 1 : 0);
}

uint8_t Button::HandleEvent(InputEvent& event) {
    if (state == kDisabled) return 0;
    switch (event.type) {
        case kEventPenDown:
            if (!HitTest(event.x, event.y)) return 0;
            tracking = true;
            if (state == kNormal) SetState(kPressed);
            // Nothing is left for the view or the game to do with this tap.
            event.type = kEventIdle;
            return 1;
        case kEventPenUp: {
            if (!tracking) return 0;
            tracking = false;
            SetState(kNormal);
            if (HitTest(event.x, event.y)) {
                event.type = kEventControlClicked;
                event.payload[kSlotControlId] = id;
            }
            // Taken even when lifted outside, so the press is over for everyone.
            return 1;
        }
        default:
            // While held, every event belongs to the button.
            return state == kPressed && tracking ? 1 : 0;
    }
}
