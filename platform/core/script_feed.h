// A script's actions handed to the machine at their times: the headless
// runner's input, and the window's when it replays a recording.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/script.h"

namespace plat {

class ScriptFeed {
public:
    // The clock should read the script's start tick when the run begins.
    explicit ScriptFeed(Script script);

    // True when the next action falls before `dueTick`.
    bool ActionBefore(uint32_t dueTick) const;
    // The next action's time on the clock; only while one is left.
    uint32_t NextTick() const { return startTick_ + actions_[next_].tick; }
    bool Done() const { return next_ == actions_.size(); }
    // Moves the clock to the next action and carries it out: posts its
    // message, ends the queue, or hands a screenshot's name to `shot` (null:
    // none are taken). True when the program must run before anything later.
    bool Step(void (*shot)(void* context, const std::string& name), void* context);

private:
    std::vector<ScriptAction> actions_;
    uint32_t startTick_;
    size_t next_ = 0;
};

}  // namespace plat
