// Base of every screen. Exactly one view is current at a time and sees every
// input event first.
#pragma once

#include <cstdint>

#include "app/input_event.h"

namespace gfx {
class Scene;
}
class Control;

struct ViewArea {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

class View {
public:
    static constexpr int kMaxControls = 40;

    View() = default;
    virtual ~View() = default;

    virtual void Enter() = 0;
    virtual void Leave() = 0;
    // kNotConsumed, kConsumed or kQuit.
    virtual int HandleEvent(InputEvent& event) = 0;

    void SetScene(gfx::Scene* scene) { scene_ = scene; }
    gfx::Scene* GetScene() const { return scene_; }

    // Values are taken as signed 16-bit, as the screens' layouts are.
    void SetArea(int32_t left, int32_t top, int32_t width, int32_t height);
    const ViewArea& Area() const { return area_; }

    // Draws picture `id`, loaded at the area's size, at the area's top-left
    // corner onto the display surface as background, without presenting.
    void DrawBackdrop(uint16_t id, bool keyed, bool blend);

    // False when the table is full; the control is then not added.
    bool AddControl(Control* control);
    // Adds a visible control's sprite to the scene at `layer`, marked dirty.
    void ShowControl(Control& control, uint8_t layer);
    // Takes the control's sprite off the scene; the last control fills the slot.
    void RemoveControl(int index);
    // Empties the scene's sprite list and the control table.
    void ClearControls();
    void SetControlVisible(int index, bool visible);
    // Offers the event to the controls in order. The first that takes it is
    // drawn and presented at once and its version of the event replaces the
    // caller's; otherwise the event stays as it was and the result is 0.
    int RouteToControls(InputEvent& event);
    Control* ControlAt(int index) const { return controls_[index]; }
    int ControlCount() const { return controlCount_; }

private:
    gfx::Scene* scene_ = nullptr;
    Control* controls_[kMaxControls] = {};
    uint8_t controlCount_ = 0;
    ViewArea area_ = {0, 0, 240, 320};
};
