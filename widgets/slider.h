// A vertical slider: a track with a thumb that can be dragged, or paged by
// tapping the track above or below it. Values grow toward smaller y.
#pragma once

#include <cstdint>

#include "widgets/button.h"
#include "widgets/control.h"

namespace gfx {
class LayerManager;
}

// The four values a slider-changed event carries.
struct SliderChange {
    int16_t minimum;
    int16_t maximum;
    int16_t value;
    int16_t previous;
};
SliderChange ReadSliderChange(const InputEvent& event);

class Slider : public Control {
public:
    enum DragMode : int32_t {
        kIdle = 0,
        kDragging = 1,
        kTapped = 2,
        kRepeating = 3,
    };
    // controlValue of a slider-changed event.
    enum Direction : uint32_t {
        kDragged = 0,
        kPagedDown = 1,
        kPagedUp = 2,
    };

    // A maximum below 0 becomes 10; a step outside 1..the given maximum
    // becomes 3; a value outside 0..maximum starts at the middle.
    void InitSlider(uint16_t sliderId, int32_t x, int32_t y, int32_t width, int32_t height, int32_t thumbW,
                    int32_t thumbH, uint16_t firstTrack, uint16_t lastTrack, uint16_t firstThumb, uint16_t lastThumb,
                    int16_t minimumValue, int16_t maximumValue, int16_t startValue, int8_t step,
                    bool isVisible = true, bool keyed = false, bool blend = false, int32_t period = 0,
                    gfx::Colour key = gfx::kKeyFromImage);
    // The track at `layer` and the thumb above it, both marked dirty.
    void ShowSlider(gfx::LayerManager& scene, uint8_t layer);
    // Takes both sprites off the scene.
    void HideSlider(gfx::LayerManager& scene);

    uint8_t HandleEvent(InputEvent& event) override;
    // The thumb's pictures go with the track's.
    void ReleaseFrames() override {
        Control::ReleaseFrames();
        thumb.ReleaseFrames();
    }
    // The track's box, both ends inside.
    bool HitTest(int32_t px, int32_t py) const override;

    uint16_t id = 0;
    int32_t dragMode = kIdle;
    int32_t trackWidth = 0;
    int32_t trackHeight = 0;
    Button thumb;
    int8_t pageStep = 3;
    int16_t value = 0;
    int16_t minimum = 0;
    int16_t maximum = 10;
    int32_t pixelsPerUnit = 1;
    int16_t target = 0;       // the value under the tapped track point
    int32_t repeatDelay = 0;  // tens of ms before each auto-repeat step
    bool increasing = false;  // the tap lies above the value

private:
    uint8_t PressTrack(InputEvent& event);
    uint8_t Drag(InputEvent& event);
    uint8_t Repeat(InputEvent& event);
    // One page toward the tap; 0 when the value did not change.
    uint8_t Step(InputEvent& event);
    void MoveThumb();
    void Report(InputEvent& event, Direction direction, int16_t previous) const;
};
