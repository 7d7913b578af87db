// The first screen: the request to turn the device (two seconds, or less with
// Skip), then the logo fades in, turns a quarter, and the title follows.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"
#include "widgets/button.h"

class IntroductionView : public View {
public:
    static constexpr uint32_t kRequestMs = 2000;
    static constexpr uint32_t kFadeMs = 71;
    static constexpr uint32_t kTurnMs = 51;
    static constexpr double kFirstAngle = 90.0;
    static constexpr double kLastAngle = 184.0;  // the turn stops before this

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    float LogoAlpha() const { return logoAlpha_; }
    double Angle() const { return angle_; }

private:
    void ClearScreen();
    int Finish();

    // These live as long as the view, that is the whole run: the sequence
    // plays once.
    uint32_t splashStart_ = 0;
    bool showLogo_ = true;
    float logoAlpha_ = 0.0f;
    uint32_t lastFade_ = 0;

    gfx::Picture splash_;
    double angle_ = kFirstAngle;
    uint32_t lastTurn_ = 0;
    Button skip_;
};
