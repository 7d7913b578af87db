#include "platform/core/script.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/core/panel_image.h"

namespace plat {

namespace {

struct NamedKey {
    const char* name;
    uint32_t code;
};

// Directions as the player sees them in landscape.
constexpr NamedKey kKeyNames[] = {
    {"left", kVkDown}, {"right", kVkUp}, {"up", kVkLeft}, {"down", kVkRight}, {"return", kVkReturn},
};

bool ParseNumber(const std::string& word, long low, long high, long& out) {
    if (word.empty()) return false;
    char* end = nullptr;
    const long value = std::strtol(word.c_str(), &end, 0);
    if (*end != '\0' || value < low || value > high) return false;
    out = value;
    return true;
}

bool ParseKey(const std::string& word, uint32_t& code) {
    for (const NamedKey& key : kKeyNames) {
        if (word == key.name) {
            code = key.code;
            return true;
        }
    }
    long value = 0;
    if (!ParseNumber(word, 1, 0xFE, value)) return false;
    code = static_cast<uint32_t>(value);
    return true;
}

ScriptAction Post(uint32_t tick, uint32_t id, uint32_t wParam, uint32_t lParam) {
    return {tick, ScriptAction::kPost, {id, wParam, lParam}, {}};
}

// One line's words after the time; false with `error` set on a fault.
bool ParseAction(std::istringstream& words, uint32_t tick, std::vector<ScriptAction>& out, std::string& error) {
    std::string verb;
    words >> verb;
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    auto wantArgs = [&](size_t n) {
        if (args.size() == n) return true;
        error = "'" + verb + "' takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s");
        return false;
    };

    if (verb == "down" || verb == "move" || verb == "up" || verb == "tap") {
        if (!wantArgs(2)) return false;
        long x = 0, y = 0;
        if (!ParseNumber(args[0], 0, kViewWidth - 1, x) || !ParseNumber(args[1], 0, kViewHeight - 1, y)) {
            error = "a point is x 0..319 and y 0..239, as the player sees the screen";
            return false;
        }
        const uint32_t pen = PenParam(ViewToPanel({static_cast<int32_t>(x), static_cast<int32_t>(y)}));
        if (verb == "down" || verb == "tap") out.push_back(Post(tick, kMsgPenDown, 0, pen));
        if (verb == "move") out.push_back(Post(tick, kMsgPenMove, 0, pen));
        if (verb == "up") out.push_back(Post(tick, kMsgPenUp, 0, pen));
        if (verb == "tap") out.push_back(Post(tick + kPressMs, kMsgPenUp, 0, pen));
        return true;
    }
    if (verb == "keydown" || verb == "keyup" || verb == "press" || verb == "hotkey") {
        if (!wantArgs(1)) return false;
        uint32_t code = 0;
        if (!ParseKey(args[0], code)) {
            error = "unknown key '" + args[0] + "'";
            return false;
        }
        if (verb == "keydown" || verb == "press") out.push_back(Post(tick, kMsgKeyDown, code, 0));
        if (verb == "hotkey") out.push_back(Post(tick, kMsgHotKey, code, 0));
        if (verb == "keyup") out.push_back(Post(tick, kMsgKeyUp, code, 0));
        if (verb == "press") out.push_back(Post(tick + kPressMs, kMsgKeyUp, code, 0));
        return true;
    }
    if (verb == "button") {
        if (!wantArgs(1)) return false;
        long n = 0;
        if (!ParseNumber(args[0], 1, 4, n)) {
            error = "buttons are 1 to 4";
            return false;
        }
        const uint32_t code = kVkHardware1 + static_cast<uint32_t>(n) - 1;
        out.push_back(Post(tick, kMsgHotKey, code, 0));
        out.push_back(Post(tick + kPressMs, kMsgKeyUp, code, 0));
        return true;
    }
    if (verb == "shot") {
        if (!wantArgs(1)) return false;
        if (args[0].find('/') != std::string::npos) {
            error = "a screenshot name is a file name, not a path";
            return false;
        }
        out.push_back({tick, ScriptAction::kShot, {}, args[0]});
        return true;
    }
    if (verb == "quit") {
        if (!wantArgs(0)) return false;
        out.push_back({tick, ScriptAction::kQuit, {}, {}});
        return true;
    }
    error = "unknown action '" + verb + "'";
    return false;
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<ScriptAction>& actions, std::string& error) {
    actions.clear();
    std::istringstream lines(text);
    std::string line;
    uint32_t lineTick = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string when;
        if (!(words >> when)) continue;
        const bool relative = when[0] == '+';
        long value = 0;
        if (!ParseNumber(relative ? when.substr(1) : when, 0, 0x7FFFFFFF, value)) {
            error = "line " + std::to_string(number) + ": a line starts with a time in ms, or +ms after the line before";
            return false;
        }
        const uint32_t tick = relative ? lineTick + static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
        if (tick < lineTick) {
            error = "line " + std::to_string(number) + ": time goes backwards";
            return false;
        }
        lineTick = tick;
        if (!ParseAction(words, tick, actions, error)) {
            error = "line " + std::to_string(number) + ": " + error;
            return false;
        }
    }
    // Releases of taps and presses fall between later lines.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const ScriptAction& a, const ScriptAction& b) { return a.tick < b.tick; });
    return true;
}

std::string FormatScriptLine(const Message& message, uint32_t tick) {
    char line[64];
    const Point view = PanelToView(PenPoint(message.lParam));
    switch (message.id) {
        case kMsgPenDown:
            std::snprintf(line, sizeof line, "%u down %d %d", tick, view.x, view.y);
            break;
        case kMsgPenMove:
            std::snprintf(line, sizeof line, "%u move %d %d", tick, view.x, view.y);
            break;
        case kMsgPenUp:
            std::snprintf(line, sizeof line, "%u up %d %d", tick, view.x, view.y);
            break;
        case kMsgKeyDown:
            std::snprintf(line, sizeof line, "%u keydown 0x%02X", tick, message.wParam);
            break;
        case kMsgKeyUp:
            std::snprintf(line, sizeof line, "%u keyup 0x%02X", tick, message.wParam);
            break;
        case kMsgHotKey:
            std::snprintf(line, sizeof line, "%u hotkey 0x%02X", tick, message.wParam);
            break;
        default:
            return {};
    }
    return line;
}

}  // namespace plat
