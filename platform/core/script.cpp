#include "platform/core/script.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "platform/core/panel_image.h"

namespace plat {

namespace {

// The start options a script carries: those the game plays differently by.
bool ChangesTheGame(const std::string& option) { return option == "hunt"; }

struct NamedKey {
    const char* name;
    uint32_t code;
};

// Directions as the player sees them in landscape.
constexpr NamedKey kKeyNames[] = {
    {"left", kVkDown}, {"right", kVkUp}, {"up", kVkLeft}, {"down", kVkRight}, {"return", kVkReturn},
};

// Typed characters that have no letter of their own.
constexpr NamedKey kCharNames[] = {{"backspace", 0x08}, {"enter", 0x0D}, {"escape", 0x1B}};

constexpr uint64_t kLastTick = 0xFFFFFFFFu;

bool IsAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool ParseChar(const std::string& word, uint32_t& code) {
    if (word.size() == 1 && IsAlnum(word[0])) {
        code = static_cast<unsigned char>(word[0]);
        return true;
    }
    for (const NamedKey& c : kCharNames) {
        if (word == c.name) {
            code = c.code;
            return true;
        }
    }
    return false;
}

// A screenshot name stays a plain file name inside the shots folder.
bool IsShotName(const std::string& name) {
    if (name.empty() || name[0] == '.' || name[0] == '-') return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return IsAlnum(c) || c == '.' || c == '_' || c == '-'; });
}

bool ParseNumber(const std::string& word, long long low, long long high, long long& out) {
    if (word.empty() || word[0] == '-' || word[0] == '+' || word[0] == ' ') return false;
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(word.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value < low || value > high) return false;
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
    long long value = 0;
    if (!ParseNumber(word, 1, 0xFE, value)) return false;
    code = static_cast<uint32_t>(value);
    return true;
}

ScriptAction Post(uint64_t tick, uint32_t id, uint32_t wParam, uint32_t lParam) {
    return {static_cast<uint32_t>(tick), ScriptAction::kPost, {id, wParam, lParam}, {}};
}

// One line's words after the time; false with `error` set on a fault.
bool ParseAction(std::istringstream& words, uint64_t tick, std::vector<ScriptAction>& out, std::string& error) {
    std::string verb;
    words >> verb;
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    auto wantArgs = [&](size_t n) {
        if (args.size() == n) return true;
        error = "'" + verb + "' takes " + std::to_string(n) + " argument" + (n == 1 ? "" : "s");
        return false;
    };
    // A tap, press or button lets go kPressMs later, still within the tick range.
    auto releaseFits = [&] {
        if (tick + kPressMs <= kLastTick) return true;
        error = "'" + verb + "' lets go " + std::to_string(kPressMs) + " ms later, past the last tick";
        return false;
    };

    if (verb == "down" || verb == "move" || verb == "up" || verb == "tap") {
        if (!wantArgs(2) || (verb == "tap" && !releaseFits())) return false;
        long long x = 0, y = 0;
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
        if (!wantArgs(1) || (verb == "press" && !releaseFits())) return false;
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
        if (!wantArgs(1) || !releaseFits()) return false;
        long long n = 0;
        if (!ParseNumber(args[0], 1, 4, n)) {
            error = "buttons are 1 to 4";
            return false;
        }
        const uint32_t code = kVkHardware1 + static_cast<uint32_t>(n) - 1;
        out.push_back(Post(tick, kMsgHotKey, code, 0));
        out.push_back(Post(tick + kPressMs, kMsgKeyUp, code, 0));
        return true;
    }
    if (verb == "char") {
        if (!wantArgs(1)) return false;
        uint32_t code = 0;
        if (!ParseChar(args[0], code)) {
            error = "a character is one letter or digit, or backspace, enter or escape";
            return false;
        }
        out.push_back(Post(tick, kMsgChar, code, 0));
        return true;
    }
    if (verb == "focus-lost") {
        if (!wantArgs(0)) return false;
        out.push_back(Post(tick, kMsgFocusLost, 0, 0));
        return true;
    }
    if (verb == "shot") {
        if (!wantArgs(1)) return false;
        if (!IsShotName(args[0])) {
            error = "a screenshot name is letters, digits, '.', '_' and '-', not starting with '.' or '-'";
            return false;
        }
        out.push_back({static_cast<uint32_t>(tick), ScriptAction::kShot, {}, args[0]});
        return true;
    }
    if (verb == "quit") {
        if (!wantArgs(0)) return false;
        out.push_back({static_cast<uint32_t>(tick), ScriptAction::kQuit, {}, {}});
        return true;
    }
    error = "unknown action '" + verb + "'";
    return false;
}

}  // namespace

bool ParseScript(const std::string& text, Script& script, std::string& error) {
    script = Script{};
    std::vector<ScriptAction>& actions = script.actions;
    std::istringstream lines(text);
    std::string line;
    uint64_t lineTick = 0;
    bool timed = false;  // a timed line has come, so the start is fixed
    for (int number = 1; std::getline(lines, line); ++number) {
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string when;
        if (!(words >> when)) continue;
        long long value = 0;
        if (when == "start") {
            std::string tick, extra;
            if (timed || !(words >> tick) || (words >> extra) || !ParseNumber(tick, 0, kLastTick, value))
                return fail("'start N' comes before every timed line, with N a tick 0.." + std::to_string(kLastTick));
            script.startTick = static_cast<uint32_t>(value);
            continue;
        }
        if (when == "option") {
            std::string name, extra;
            if (timed || !(words >> name) || (words >> extra) || !ChangesTheGame(name))
                return fail("'option hunt' comes before every timed line");
            script.options.push_back(name);
            continue;
        }
        timed = true;
        const bool relative = when[0] == '+';
        if (!ParseNumber(relative ? when.substr(1) : when, 0, kLastTick, value))
            return fail("a line starts with a time in ms, or +ms after the line before");
        const uint64_t tick = relative ? lineTick + static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        if (tick < lineTick) return fail("time goes backwards");
        // Times count from the start and stay within one turn of the 32-bit tick.
        if (tick > kLastTick) return fail("the time is past " + std::to_string(kLastTick) + " ms");
        lineTick = tick;
        if (!ParseAction(words, tick, actions, error)) return fail(error);
    }
    // Releases of taps and presses fall between later lines.
    std::stable_sort(actions.begin(), actions.end(),
                     [](const ScriptAction& a, const ScriptAction& b) { return a.tick < b.tick; });
    return true;
}

std::string FormatStartLines(uint32_t startTick, const std::vector<std::string>& options) {
    std::string lines = "start " + std::to_string(startTick);
    // A checking mode such as check-frames is the replayer's to choose.
    for (const std::string& option : options) {
        if (ChangesTheGame(option)) lines += "\noption " + option;
    }
    return lines;
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
        case kMsgChar: {
            const char* name = nullptr;
            for (const NamedKey& c : kCharNames) {
                if (c.code == message.wParam) name = c.name;
            }
            const char typed[2] = {static_cast<char>(message.wParam), '\0'};
            if (name == nullptr && (message.wParam > 0x7F || !IsAlnum(typed[0]))) return {};
            std::snprintf(line, sizeof line, "%u char %s", tick, name != nullptr ? name : typed);
            break;
        }
        case kMsgFocusLost:
            std::snprintf(line, sizeof line, "%u focus-lost", tick);
            break;
        default:
            return {};
    }
    return line;
}

}  // namespace plat
