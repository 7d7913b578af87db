// A panel of five picture buttons slides in from the right over the frozen
// hunt: resume, end the hunt, or visit the scores, the help or the options
// and come back to the hunt afterwards.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/geometry.h"
#include "graphics/picture.h"
#include "widgets/button.h"

class PauseMenuView : public View {
public:
    static constexpr int kButtons = 5;
    static constexpr uint32_t kStepMs = 31;
    static constexpr int32_t kSlideStep = 10;
    static constexpr int32_t kPanelX = 70;  // where the panel comes to rest

    // What a button does; 0 is none held.
    enum PressCode : uint8_t {
        kNone = 0,
        kOptions = 1,
        kExit = 2,
        kScore = 3,
        kHelp = 4,
        kResume = 5,
    };

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    bool Animating() const { return animating_; }
    int32_t PanelX() const { return panelX_; }
    uint8_t Pressed() const { return pressed_; }

private:
    // The part of the panel that has slid in.
    void DrawPanel();
    void PresentPanel();
    // The first button of `order` under the point, or kNone.
    uint8_t ButtonAt(const uint8_t* order, int32_t x, int32_t y) const;
    Button& ByCode(uint8_t code);
    void Run(uint8_t code);
    void Resume();

    gfx::Picture panel_;
    int32_t panelX_ = 0;
    gfx::Rect source_;
    gfx::Rect destination_;
    Button buttons_[kButtons];
    bool animating_ = false;
    uint32_t lastStep_ = 0;
    uint8_t pressed_ = kNone;
};
