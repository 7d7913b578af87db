// Browser input as the handheld's messages: the mouse and touch as the stylus,
// the keys of the desktop's controls table. The page hands over positions in
// CSS pixels relative to the canvas, together with the canvas's CSS size.
#pragma once

#include <cstdint>

#include "platform/core/machine.h"

namespace plat {

class WebInput {
public:
    enum class Phase { kDown, kMove, kUp };
    enum Button : int32_t { kLeft = 0, kRight = 2 };  // DOM button numbers

    explicit WebInput(Machine& machine) : machine_(machine) {}

    // A mouse button, or a move with any button. False when the event is
    // not the game's (the page may act on it).
    bool Mouse(Phase phase, int32_t button, double x, double y, double width, double height);
    // One touch point by its identifier; only the first finger down is the stylus.
    bool Touch(Phase phase, int32_t id, double x, double y, double width, double height);
    // DOM KeyboardEvent code and key. True when the key belongs to the game.
    bool Key(bool down, const char* code, const char* key, bool repeat, bool ctrl, bool alt);
    // The page lost the focus or was hidden: everything held is let go.
    void FocusLost();

    bool PenDown() const { return source_ != Source::kNone; }

private:
    enum class Source { kNone, kMouse, kTouch };
    void Pen(Source source, Phase phase, double x, double y, double width, double height);

    Machine& machine_;
    Source source_ = Source::kNone;
    int32_t touchId_ = 0;
    uint32_t lastPen_ = 0;  // position of the last pen message, for a forced pen-up
    bool held_[256] = {};   // panel key codes that went down and have not come up
};

}  // namespace plat
