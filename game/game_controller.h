// Creates the scene and the views at start-up and runs the hunt on every
// event the current view leaves alone.
#pragma once

#include <cstdint>

#include "app/input_event.h"

class AnimationList;
class View;
class ViewList;
namespace gfx {
class Scene;
}

class GameController {
public:
    GameController(ViewList& views, AnimationList& animations) : views_(views), animations_(animations) {}
    virtual ~GameController() = default;
    GameController(const GameController&) = delete;
    GameController& operator=(const GameController&) = delete;

    // The scene with its ground tiles, every view registered under its id,
    // and the first view started.
    void CreateViews();
    // Every view, then the scene.
    void DestroyViews();
    // kNotConsumed lets the animations step; kConsumed stops the event here.
    int ProcessEvent(InputEvent& event);

private:
    ViewList& views_;
    AnimationList& animations_;
    gfx::Scene* scene_ = nullptr;
    View* preview_ = nullptr;
    int32_t savedScrollX_ = 0;
    int32_t savedScrollY_ = 0;
};
