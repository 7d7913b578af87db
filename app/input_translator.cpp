#include "app/input_translator.h"

namespace {

struct KeyBinding {
    uint32_t virtualKey;
    uint16_t maskBit;
    uint32_t code;
};

// Order of the key list in events.
constexpr KeyBinding kKeys[] = {
    {plat::kVkLeft, kMaskLeft, kKeyLeft},
    {plat::kVkRight, kMaskRight, kKeyRight},
    {plat::kVkUp, kMaskUp, kKeyUp},
    {plat::kVkDown, kMaskDown, kKeyDown},
    {plat::kVkReturn, kMaskReturn, kKeyReturn},
    {0xC1, kMaskHardware1, kKeyHardware1},
    {0xC2, kMaskHardware2, kKeyHardware2},
    {0xC3, kMaskHardware3, kKeyHardware3},
    {0xC4, kMaskHardware4, kKeyHardware4},
};

bool IsHardwareKey(uint32_t virtualKey) {
    return virtualKey >= plat::kVkHardware1 && virtualKey <= plat::kVkHardware4;
}

uint16_t MaskBitOf(uint32_t virtualKey) {
    for (const KeyBinding& key : kKeys) {
        if (key.virtualKey == virtualKey) return key.maskBit;
    }
    return 0;
}

void AppendKeys(uint16_t keyMask, InputEvent& event) {
    for (const KeyBinding& key : kKeys) {
        if ((keyMask & key.maskBit) == 0) continue;
        event.payload[event.keyCount] = key.code;
        event.keyCount = static_cast<int16_t>(event.keyCount + 1);
        event.type = kEventKeys;
    }
}

// True when the event became a pen event.
bool ApplyStylus(InputState& state, InputEvent& event) {
    const bool held = (state.keyMask & kMaskPen) != 0;
    if (held && state.penDown == 0) {
        event.type = kEventPenDown;
        state.penDown = 1;
    } else if (!held && state.penDown == 1) {
        event.type = kEventPenUp;
        state.penDown = 0;
    } else if (held) {
        event.type = kEventPenHeld;
    } else {
        return false;
    }
    event.x = state.penX;
    event.y = state.penY;
    return true;
}

// A character or a focus loss is one event of its own unless the stylus
// claims the event; it never waits for a later message.
void ApplyPending(InputState& state, bool penEvent, InputEvent& event) {
    if (state.pendingType != kEventIdle && !penEvent) {
        event.type = state.pendingType;
        event.keyCount = 0;
        event.payload[0] = state.pendingCharacter;
    }
    state.pendingType = kEventIdle;
    state.pendingCharacter = 0;
}

}  // namespace

void ApplyMessage(InputState& state, const plat::Message& message) {
    const uint16_t bit = MaskBitOf(message.wParam);
    switch (message.id) {
        case plat::kMsgKeyDown:
            if (!IsHardwareKey(message.wParam)) state.keyMask = static_cast<uint16_t>(state.keyMask | bit);
            break;
        case plat::kMsgKeyUp:
            state.keyMask = static_cast<uint16_t>(state.keyMask & ~bit);
            break;
        case plat::kMsgHotKey:
            if (IsHardwareKey(message.wParam)) state.keyMask = static_cast<uint16_t>(state.keyMask | bit);
            break;
        case plat::kMsgPenDown:
        case plat::kMsgPenUp:
        case plat::kMsgPenMove:
            if (message.id == plat::kMsgPenDown) state.keyMask = static_cast<uint16_t>(state.keyMask | kMaskPen);
            if (message.id == plat::kMsgPenUp) state.keyMask = static_cast<uint16_t>(state.keyMask & ~kMaskPen);
            state.penX = static_cast<int16_t>(message.lParam & 0xFFFF);
            state.penY = static_cast<int16_t>(message.lParam >> 16);
            break;
        case plat::kMsgChar:
            state.pendingType = kEventCharacter;
            state.pendingCharacter = message.wParam;
            break;
        case plat::kMsgFocusLost:
            state.pendingType = kEventFocusLost;
            break;
        default:
            break;
    }
}

void BuildMainEvent(InputState& state, InputEvent& event) {
    event.keyCount = 0;
    if (state.keyMask == 0) event.type = kEventIdle;
    AppendKeys(state.keyMask, event);
    const bool penEvent = ApplyStylus(state, event);
    ApplyPending(state, penEvent, event);
}

InputEvent BuildModalEvent(InputState& state) {
    InputEvent event{};
    // Held keys are listed, but the stylus decides the type: a modal answer
    // must not be blocked by a key that happens to be held.
    AppendKeys(state.keyMask, event);
    const bool penEvent = ApplyStylus(state, event);
    ApplyPending(state, penEvent, event);
    return event;
}
