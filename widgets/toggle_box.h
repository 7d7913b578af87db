// A two-state switch that flips on a tap and reports its new state.
#pragma once

#include <cstdint>

#include "widgets/control.h"

class ToggleBox : public Control {
public:
    // With `shared` given its pictures are borrowed; otherwise pictures
    // first..last are loaded at width x height. Shows the frame of its state;
    // a state other than 0 or 1 disables the box.
    void InitToggle(uint16_t toggleId, int32_t x, int32_t y, int16_t boxWidth, int16_t boxHeight, uint16_t firstPicture,
                    uint16_t lastPicture, int32_t initialState, const FrameSet* shared = nullptr,
                    bool isVisible = true, bool keyed = false, bool blend = false, int32_t period = 0,
                    int32_t mode = kAnimationLoop);

    uint8_t HandleEvent(InputEvent& event) override;
    bool HitTest(int32_t px, int32_t py) const override;

    uint16_t id = 0;
    int32_t state = 0;
    int16_t width = 0;
    int16_t height = 0;
};
