// View 1: the hunt itself. The game controller does the work; the view only
// leaves for the results once a finished hunt's score is waiting.
#pragma once

#include "app/view.h"

class GameController;
class ViewList;

class HuntView : public View {
public:
    HuntView(GameController& controller, ViewList& views) : controller_(controller), views_(views) {}

    void Enter() override;
    void Leave() override;
    int HandleEvent(InputEvent& event) override;

private:
    GameController& controller_;
    ViewList& views_;
};
