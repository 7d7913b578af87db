// Hands each event to the current view, then the game controller, then lets
// the running animations advance.
#pragma once

#include "app/input_event.h"

class ViewList;
class GameController;
class AnimationList;

class EventDispatcher {
public:
    EventDispatcher(ViewList& views, GameController& controller, AnimationList& animations)
        : views_(views), controller_(controller), animations_(animations) {}
    virtual ~EventDispatcher() = default;

    // 1 to go on, 0 to quit the program.
    int Dispatch(InputEvent& event);

private:
    ViewList& views_;
    GameController& controller_;
    AnimationList& animations_;
};
