// The title picture with a blinking "tap to start" prompt; a tap anywhere
// opens the main menu. It takes every event, so nothing runs beneath it.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"

class TitleView : public View {
public:
    static constexpr uint32_t kBlinkMs = 230;

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

    // Whether the next blink step draws the prompt.
    bool PromptShown() const { return promptShown_; }

private:
    gfx::Picture title_;
    gfx::Picture prompt_;
    uint32_t lastBlink_ = 0;
    bool promptShown_ = false;
};
