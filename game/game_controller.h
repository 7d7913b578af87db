// Creates the scene and the views at start-up and runs the hunt on every
// event the current view leaves alone.
#pragma once

#include <cstdint>

#include "app/input_event.h"
#include "app/view_list.h"
#include "game/hunt_stats.h"
#include "graphics/strip_font.h"

class AnimationList;
class View;
namespace gfx {
class Scene;
}

class GameController {
public:
    GameController(ViewList& views, AnimationList& animations) : views_(views), animations_(animations) {}
    virtual ~GameController() = default;
    GameController(const GameController&) = delete;
    GameController& operator=(const GameController&) = delete;

    // The scene (with its ground tiles when `withGround`), every view
    // registered under its id, and the first view started.
    void CreateViews(bool withGround);
    // The ground's tiles, when CreateViews left them out.
    void LayGround();
    // Every view, then the scene.
    void DestroyViews();
    // kNotConsumed lets the animations step; kConsumed stops the event here.
    int ProcessEvent(InputEvent& event);

    // A fresh hunt at the bottom of the ground, with the loading picture.
    void StartHunt();
    // Frees the hunt's objects and shows the farewell picture for 5.5 s.
    void EndHunt();
    // Around the screens the pause menu opens: the hunt's sprites leave the
    // scene, its clock stops, and the scroll position is kept.
    void SuspendHunt();
    void ResumeHunt();

    const HuntStats& Stats() const { return stats_; }

private:
    // Every hunt object out of the scene and freed.
    void ReleaseHunt();
    // The controller owns the view; the view list only finds it by id.
    void Register(View* view, uint8_t id);
    void ScrollKeys(const InputEvent& event);
    void ScrollBy(int32_t dy);
    // The flock's answer to this event; true when a duck fell.
    bool ShootDucks(const InputEvent& event, bool gunLoaded);
    // The field targets' answer; true when one of them was hit.
    bool ShootFieldTargets(const InputEvent& event, bool gunLoaded);
    // The pause corner, Escape or the window losing focus.
    bool PauseRequested(const InputEvent& event) const;
    void OpenPauseMenu();
    // A tap on the ground: the bonus spot, a puff, a reload or a shot.
    void Fire(const InputEvent& event, bool gunLoaded, bool somethingHit);
    // The clock; kConsumed once the hunt is over.
    int CountDown();

    ViewList& views_;
    AnimationList& animations_;
    gfx::Scene* scene_ = nullptr;
    View* ownedViews_[ViewList::kMaxViews] = {};
    int32_t savedScrollX_ = 0;
    int32_t savedScrollY_ = 0;
    StripFont pointFont_;  // the falling ducks' points, loaded at each hunt start
    HuntStats stats_;
    bool lowTimeWarned_ = false;  // since the last change of the hunt time
    bool huntRunning_ = false;    // started and not yet ended or released
    bool groundLaid_ = false;     // the scene has its ground tiles
};
