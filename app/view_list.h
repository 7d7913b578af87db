// All screens by id, the switch between them and the back stack.
#pragma once

#include <cstdint>

#include "app/input_event.h"

class View;

enum ViewId : uint8_t {
    kViewMainMenu = 0,
    kViewHunt = 1,
    kViewHowToPlay = 3,
    kViewNameEntry = 4,
    kViewPauseMenu = 5,
    kViewResults = 7,
    kViewAbout = 8,
    kViewOptions = 10,
    kViewCredits = 11,
    kViewIntroduction = 12,
    kViewTitle = 14,
};

class ViewList {
public:
    static constexpr int kMaxViews = 20;
    static constexpr int kBackStackSize = 20;

    ViewList() = default;
    virtual ~ViewList() = default;

    // The views are not owned; an id may be overwritten.
    void Add(View* view, uint8_t id);
    // Makes the view current at once and enters it.
    void Start(uint8_t id);
    // Requests a switch, carried out at the start of the next event.
    void SwitchTo(uint8_t id, bool push = false);
    // Returns to the last pushed id; with nothing pushed the current view stays.
    void Back();
    // Keeps only the bottom entry of the back stack.
    void ResetBackStack();

    int HandleEvent(InputEvent& event);

    uint8_t Current() const { return current_; }
    uint8_t Next() const { return next_; }
    uint8_t Previous() const { return previous_; }
    uint8_t Depth() const { return depth_; }
    View* ViewAt(uint8_t id) const { return id < kMaxViews ? views_[id] : nullptr; }

private:
    void Push(uint8_t id);

    uint8_t current_ = 0;
    uint8_t next_ = 0;
    uint8_t previous_ = 0;
    View* views_[kMaxViews] = {};
    uint8_t backStack_[kBackStackSize] = {};
    uint8_t depth_ = 0;
    bool nextPushed_ = false;  // for the trace: how the pending switch was asked for
};
