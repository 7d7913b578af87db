// Scripts of timed input for the headless runner, and the same lines written
// by a recording desktop run. The format is described in docs/headless.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

struct ScriptAction {
    enum Kind { kPost, kShot, kQuit };
    uint32_t tick;  // milliseconds since the run started
    Kind kind;
    Message message;   // kPost
    std::string name;  // kShot: the screenshot's file name without ".png"
};

// How long a tap or a press holds before it lets go.
constexpr uint32_t kPressMs = 50;

struct Script {
    uint32_t startTick = 0;  // what the tick counter reads when the run starts
    std::vector<std::string> options;  // start options, as if on the command line ("hunt")
    std::vector<ScriptAction> actions;
};

// Parses a whole script; actions come out in time order (stable for equal
// times). On a fault, false and `error` names the line.
bool ParseScript(const std::string& text, Script& script, std::string& error);

// The lines that start a script at this tick with these start options.
std::string FormatStartLines(uint32_t startTick, const std::vector<std::string>& options);

// The script line that posts `message` `elapsed` ms after the start; empty
// for messages a script does not carry (timer messages).
std::string FormatScriptLine(const Message& message, uint32_t elapsed);

}  // namespace plat
