// Both volumes and both display switches. Every change is heard and seen at
// once; OK makes them durable, Cancel puts back what the settings held on entry.
#pragma once

#include "app/view.h"
#include "persist/settings.h"
#include "widgets/button.h"
#include "widgets/slider.h"
#include "widgets/toggle_box.h"

class OptionsView : public View {
public:
    enum ControlId : uint16_t {
        kOk = 3,
        kCancel = 4,
        kMenuAnimationBox = 7,
        kSpecialEffectsBox = 8,
    };

    void Enter() override;
    void Leave() override;
    // kConsumed after OK or Cancel, otherwise kNotConsumed.
    int HandleEvent(InputEvent& event) override;

private:
    int Press(uint16_t id);
    // A slider took the event: the other one is redrawn with it, and the
    // event is used up.
    void SliderMoved(Slider& other, InputEvent& event);

    Slider music_;
    Slider effect_;
    ToggleBox menuAnimation_;
    ToggleBox specialEffects_;
    Button ok_;
    Button cancel_;
    SettingsFields snapshot_{};
    bool touched_ = false;     // some control took an input
    bool musicMoved_ = false;  // the menu music plays at a slider's volume
};
