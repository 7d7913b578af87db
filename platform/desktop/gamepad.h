// Game controllers as the stylus and the keys: the left stick and the d-pad
// move a pointer over the view, the south button taps (held, it drags), west
// and east reload, the shoulders and the right stick scroll, Start and Back
// are Escape. Everything reaches the game as the messages of a mouse and a
// keyboard, so recordings and their replays stay exact.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

#include "platform/core/panel_image.h"
#include "platform/desktop/key_map.h"

namespace plat {

// Where the pad's doings go: the same doors the mouse and keyboard use.
class PanelInput {
public:
    virtual void PenDown(Point panel) = 0;
    virtual void PenMove(Point panel) = 0;
    virtual void PenUp(Point panel) = 0;
    virtual void PressKey(const MappedKey& key) = 0;
    virtual void ReleaseKey(uint32_t code) = 0;
    virtual void Type(uint32_t character) = 0;

protected:
    ~PanelInput() = default;
};

// View pixels per second for a push of the stick (0..1 past its dead zone)
// held for `heldMs`: slow and fine for a nudge, faster the longer it is held.
double PointerSpeed(double push, uint32_t heldMs);

// A stick axis (-32768..32767) as a push of -1..1, 0 inside the dead zone.
double AxisPush(int16_t axis);

class Gamepad {
public:
    explicit Gamepad(PanelInput& out) : out_(out) {}
    ~Gamepad();
    Gamepad(const Gamepad&) = delete;
    Gamepad& operator=(const Gamepad&) = delete;

    // Pads coming and going, their buttons and the right stick.
    void Event(const SDL_Event& event, uint64_t nowMs);
    // Moves the pointer by the left stick and the d-pad for the time since the
    // last call (a held south button drags), and scrolls by the right stick.
    void Move(uint64_t nowMs);
    // True while a stick or the d-pad is held: the pointer wants frequent moves.
    bool Steering() const { return stickSince_ != 0 || dpadSince_ != 0; }
    // True while the pad has been used lately: its pointer shows.
    bool Active(uint64_t nowMs) const { return lastUse_ != 0 && nowMs - lastUse_ < kShowMs; }
    // The mouse moved: the pad's pointer gives way until the pad is used again.
    void Yield() { lastUse_ = 0; }
    // Where the pointer is, in view pixels.
    Point Pointer() const { return {static_cast<int32_t>(x_), static_cast<int32_t>(y_)}; }
    // What the pad held is let go without a word to the game: the host has
    // released every key and the stylus itself.
    void Forget();

private:
    static constexpr uint64_t kShowMs = 3000;

    void Button(uint8_t button, bool down, uint64_t nowMs);
    bool Held(SDL_GameControllerButton button) const;
    // Moves the pointer by (dx, dy) view pixels; a held stylus follows.
    void Shift(double dx, double dy);
    void SetScroll(int direction);
    void Arrow(int index, bool down);

    PanelInput& out_;
    std::vector<SDL_GameController*> pads_;
    double x_ = kViewWidth / 2, y_ = kViewHeight / 2;
    uint64_t lastMove_ = 0;
    uint64_t stickSince_ = 0;  // 0: the stick rests
    uint64_t dpadSince_ = 0;   // 0: no direction held
    uint64_t lastUse_ = 0;
    bool penHeld_ = false;
    int scroll_ = 0;       // the right stick's arrow: -1 left, 1 right, 0 none
    int reloadsHeld_ = 0;  // west and east both reload
    bool shoulders_[2] = {false, false};
};

}  // namespace plat
