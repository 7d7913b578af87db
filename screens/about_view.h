// A picture in the middle of the screen over the greyed screen below; the
// next tap closes it and returns to the screen that opened it.
#pragma once

#include "app/view.h"

class AboutView : public View {
public:
    void Enter() override;
    void Leave() override {}
    int HandleEvent(InputEvent& event) override;
};
