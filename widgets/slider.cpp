#include "widgets/slider.h"

#include <algorithm>

#include "graphics/layer_manager.h"
#include "platform/platform.h"

SliderChange ReadSliderChange(const InputEvent& event) {
    const uint32_t range = event.payload[kSlotSliderValues];
    const uint32_t values = event.payload[kSlotSliderValues + 1];
    return {static_cast<int16_t>(range & 0xFFFF), static_cast<int16_t>(range >> 16),
            static_cast<int16_t>(values & 0xFFFF), static_cast<int16_t>(values >> 16)};
}

namespace {

uint32_t Pack(int16_t low, int16_t high) {
    return static_cast<uint32_t>(static_cast<uint16_t>(low)) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
}

}  // namespace

void Slider::InitSlider(uint16_t sliderId, int32_t x, int32_t y, int32_t width, int32_t height, int32_t thumbW,
                        int32_t thumbH, uint16_t firstTrack, uint16_t lastTrack, uint16_t firstThumb,
                        uint16_t lastThumb, int16_t minimumValue, int16_t maximumValue, int16_t startValue, int8_t step,
                        bool isVisible, bool keyed, bool blend, int32_t period, gfx::Colour key) {
    ReleaseFrames();
    OwnFrames().LoadFrames(firstTrack, lastTrack, static_cast<uint16_t>(width), static_cast<uint16_t>(height));
    sprite.InitAnimation(*frames, x, y, false, keyed, blend, period, kAnimationLoop, key);
    id = sliderId;
    visible = isVisible;
    trackWidth = width;
    trackHeight = height;

    minimum = minimumValue;
    maximum = maximumValue < 0 ? int16_t{10} : maximumValue;
    pageStep = step < 1 || step > maximumValue ? int8_t{3} : step;
    value = startValue < 0 || startValue > maximum ? static_cast<int16_t>(maximum / 2) : startValue;

    const int32_t span = maximum - minimum + 1;
    if (span < 1) {
        pixelsPerUnit = height;
        repeatDelay = 15;
    } else {
        pixelsPerUnit = std::max<int32_t>(static_cast<int8_t>((height - thumbH) / span), 1);
        repeatDelay = pageStep * 30 / span;
    }

    thumb.InitButton(0, x, y, thumbW, thumbH, firstThumb, lastThumb, Button::kNormal, true, keyed, blend, 0,
                     kAnimationLoop, true);
    MoveThumb();
    dragMode = kIdle;
}

void Slider::ShowSlider(gfx::LayerManager& scene, uint8_t layer) {
    scene.AddSprite(sprite, layer);
    scene.AddSprite(thumb.sprite, static_cast<uint8_t>(layer + 1));
    scene.MarkSpriteDirty(sprite);
    scene.MarkSpriteDirty(thumb.sprite);
}

void Slider::HideSlider(gfx::LayerManager& scene) {
    scene.RemoveSprite(sprite);
    scene.RemoveSprite(thumb.sprite);
}

bool Slider::HitTest(int32_t px, int32_t py) const {
    return px >= sprite.x && px <= sprite.x + trackWidth && py >= sprite.y && py <= sprite.y + trackHeight;
}

uint8_t Slider::HandleEvent(InputEvent& event) {
    switch (event.type) {
        case kEventPenDown:
            if (thumb.HitTest(event.x, event.y)) {
                dragMode = kDragging;
                sprite.SetFrame(1);
                thumb.SetState(Button::kPressed);
                return 1;
            }
            return HitTest(event.x, event.y) ? PressTrack(event) : 0;
        case kEventPenUp:
            if (dragMode == kIdle) return 0;
            if (dragMode != kTapped) sprite.SetFrame(0);
            if (thumb.state == Button::kPressed) thumb.SetState(Button::kNormal);
            dragMode = kIdle;
            event.type = kEventSliderReleased;
            return 1;
        case kEventPenHeld:
            if (dragMode == kDragging) return Drag(event);
            if (dragMode == kTapped) dragMode = kRepeating;
            return dragMode == kRepeating ? Repeat(event) : 0;
        default:
            return 0;
    }
}

uint8_t Slider::PressTrack(InputEvent& event) {
    target = static_cast<int16_t>((sprite.y + trackHeight - thumb.height / 2 - event.y) / pixelsPerUnit);
    dragMode = kTapped;
    if (target == value) return 0;
    increasing = target > value;
    return Step(event);
}

uint8_t Slider::Drag(InputEvent& event) {
    const int32_t under = (sprite.y + trackHeight - (event.y + thumb.height / 2)) / pixelsPerUnit;
    const auto next = static_cast<int16_t>(std::clamp<int32_t>(under, minimum, maximum));
    if (next == value) return 0;
    const int16_t previous = value;
    value = next;
    MoveThumb();
    Report(event, kDragged, previous);
    return 1;
}

uint8_t Slider::Repeat(InputEvent& event) {
    // The whole program waits here: auto-repeat is paced by blocking.
    plat::Sleep(static_cast<uint32_t>(repeatDelay) * 10);
    const bool stillAhead = increasing ? target > value : target < value;
    return stillAhead ? Step(event) : 0;
}

uint8_t Slider::Step(InputEvent& event) {
    const int16_t previous = value;
    value = increasing ? static_cast<int16_t>(std::min<int32_t>(value + pageStep, maximum))
                       : static_cast<int16_t>(std::max<int32_t>(value - pageStep, minimum));
    if (value == previous) return 0;
    MoveThumb();
    Report(event, increasing ? kPagedUp : kPagedDown, previous);
    return 1;
}

void Slider::MoveThumb() { thumb.sprite.y = sprite.y + trackHeight - value * pixelsPerUnit - thumb.height; }

void Slider::Report(InputEvent& event, Direction direction, int16_t previous) const {
    event.type = kEventSliderChanged;
    event.payload[kSlotControlId] = id;
    event.payload[kSlotControlValue] = direction;
    event.payload[kSlotSliderValues] = Pack(minimum, maximum);
    event.payload[kSlotSliderValues + 1] = Pack(value, previous);
}
