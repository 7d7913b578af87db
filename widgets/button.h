// A push button: pressed look while the stylus holds it, a click reported
// only when the stylus is lifted inside it.
#pragma once

#include <cstdint>

#include "widgets/control.h"

class Button : public Control {
public:
    enum State : int32_t {
        kNormal = 0,
        kPressed = 1,
        kDisabled = 2,
    };

    // Loads pictures first..last at width x height (normal look first,
    // pressed second) and shows frame 0.
    void InitButton(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight, uint16_t firstPicture,
                    uint16_t lastPicture, int32_t initialState = kNormal, bool isVisible = true, bool keyed = false,
                    bool blend = false, int32_t period = 0, int32_t mode = kAnimationLoop, bool movable = false);
    // The same with pictures that belong to the caller and are never freed here.
    void InitButtonShared(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight,
                          gfx::Picture* const* pictures, int32_t count, int32_t initialState = kNormal,
                          bool isVisible = true, bool keyed = false, bool blend = false, int32_t period = 0,
                          int32_t mode = kAnimationLoop, bool movable = false);

    uint8_t HandleEvent(InputEvent& event) override;
    // Both ends of both ranges are inside.
    bool HitTest(int32_t px, int32_t py) const override;

    // Puts the button in a state and shows the look that goes with it.
    void SetState(int32_t newState);

    uint16_t id = 0;
    int32_t state = kNormal;
    bool tracking = false;  // a pen-down on the button awaits its pen-up
    int32_t width = 0;
    int32_t height = 0;

private:
    void Place(uint16_t buttonId, int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight, int32_t initialState,
               bool isVisible, bool keyed, bool blend, int32_t period, int32_t mode, bool movable);
};
