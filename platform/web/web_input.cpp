#include "platform/web/web_input.h"

#include <cmath>
#include <cstring>

#include "platform/core/panel_image.h"
#include "platform/desktop/letterbox.h"

namespace plat {

namespace {

struct WebKey {
    enum Kind { kNone, kKey, kButton };
    Kind kind;
    uint32_t code;
};

// By the key's place on the keyboard, so that any layout plays the same.
WebKey MapKey(const char* code) {
    struct Entry {
        const char* code;
        WebKey key;
    };
    // The panel's up and down run along the player's left and right.
    static constexpr Entry kTable[] = {
        {"ArrowLeft", {WebKey::kKey, kVkDown}},     {"ArrowRight", {WebKey::kKey, kVkUp}},
        {"ArrowUp", {WebKey::kKey, kVkLeft}},       {"ArrowDown", {WebKey::kKey, kVkRight}},
        {"Enter", {WebKey::kKey, kVkReturn}},       {"NumpadEnter", {WebKey::kKey, kVkReturn}},
        {"Digit1", {WebKey::kButton, kVkHardware1}}, {"Digit2", {WebKey::kButton, kVkHardware1 + 1}},
        {"Digit3", {WebKey::kButton, kVkHardware1 + 2}}, {"Digit4", {WebKey::kButton, kVkHardware1 + 3}},
        {"Space", {WebKey::kButton, kVkHardware1 + 2}},  // the reload button
    };
    for (const Entry& e : kTable) {
        if (std::strcmp(e.code, code) == 0) return e.key;
    }
    return {WebKey::kNone, 0};
}

}  // namespace

bool WebInput::Mouse(Phase phase, int32_t button, double x, double y, double width, double height) {
    if (phase != Phase::kMove && button == kRight) {
        // The right button is the reload button, as on the desktop.
        if (phase == Phase::kDown) {
            machine_.Post({kMsgHotKey, kVkHardware1 + 2, 0});
        } else {
            machine_.Post({kMsgKeyUp, kVkHardware1 + 2, 0});
        }
        return true;
    }
    if (phase != Phase::kMove && button != kLeft) return false;
    if (source_ == Source::kTouch) return true;  // the finger holds the stylus
    Pen(Source::kMouse, phase, x, y, width, height);
    return true;
}

bool WebInput::Touch(Phase phase, int32_t id, double x, double y, double width, double height) {
    if (source_ == Source::kMouse) return true;
    if (source_ == Source::kTouch && id != touchId_) return true;  // a second finger
    if (source_ == Source::kNone && phase == Phase::kDown) touchId_ = id;
    Pen(Source::kTouch, phase, x, y, width, height);
    return true;
}

void WebInput::Pen(Source source, Phase phase, double x, double y, double width, double height) {
    if (width <= 0 || height <= 0) return;
    // CSS pixels to view pixels; the canvas may be shown at any size.
    const auto vx = static_cast<int32_t>(std::floor(x * kViewWidth / width));
    const auto vy = static_cast<int32_t>(std::floor(y * kViewHeight / height));
    const bool down = source_ != Source::kNone;
    Point panel{};
    // A press must land on the panel; a drag that leaves it keeps to the edge.
    if (!OutputToPanel(Viewport{0, 0, 1}, vx, vy, phase != Phase::kDown, panel)) return;
    lastPen_ = PenParam(panel);
    if (phase == Phase::kDown && !down) {
        source_ = source;
        machine_.Post({kMsgPenDown, 0, lastPen_});
    } else if (phase == Phase::kMove && down) {
        machine_.Post({kMsgPenMove, 0, lastPen_});
    } else if (phase == Phase::kUp && down) {
        source_ = Source::kNone;
        machine_.Post({kMsgPenUp, 0, lastPen_});
    }
}

namespace {

// What a key types, by its name in the layout in use: 0 for nothing.
uint32_t TypedChar(const char* key) {
    const auto c = static_cast<unsigned char>(key[0]);
    if (c != 0 && key[1] == '\0' &&
        ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
        return c;
    }
    if (std::strcmp(key, "Backspace") == 0) return 0x08;
    if (std::strcmp(key, "Enter") == 0) return 0x0D;
    if (std::strcmp(key, "Escape") == 0) return 0x1B;
    return 0;
}

}  // namespace

bool WebInput::Key(bool down, const char* code, const char* key, bool repeat, bool ctrl, bool alt) {
    const WebKey mapped = MapKey(code);
    const uint32_t typed = down ? TypedChar(key) : 0;
    if (mapped.kind == WebKey::kNone && typed == 0) return false;
    // The game repeats held keys itself; shortcuts with Ctrl or Alt are the browser's.
    if (down && (repeat || ctrl || alt)) return repeat;
    if (mapped.kind != WebKey::kNone) {
        held_[mapped.code] = down;
        const uint32_t id = !down ? kMsgKeyUp : mapped.kind == WebKey::kButton ? kMsgHotKey : kMsgKeyDown;
        machine_.Post({id, mapped.code, 0});
    }
    if (typed != 0) machine_.Post({kMsgChar, typed, 0});
    return true;
}

void WebInput::FocusLost() {
    for (uint32_t code = 0; code < 256; ++code) {
        if (!held_[code]) continue;
        held_[code] = false;
        machine_.Post({kMsgKeyUp, code, 0});
    }
    if (source_ != Source::kNone) {
        source_ = Source::kNone;
        machine_.Post({kMsgPenUp, 0, lastPen_});
    }
    machine_.Post({kMsgFocusLost, 0, 0});
}

}  // namespace plat
