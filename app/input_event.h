// The one event record of the program and the codes it carries.
#pragma once

#include <cstdint>

enum EventType : uint32_t {
    kEventIdle = 0,
    kEventPenDown = 1,
    kEventPenUp = 2,
    kEventPenHeld = 3,
    kEventKeys = 4,
    kEventCharacter = 5,  // payload[0]: the character typed
    kEventFocusLost = 6,
    kEventControlClicked = 10,
    kEventControlToggled = 11,
    kEventSliderChanged = 14,
    kEventSliderReleased = 15,
    kEventViewEntered = 20,
};

// Key codes in an event's key list.
enum KeyCode : uint32_t {
    kKeyLeft = 1,
    kKeyRight = 2,
    kKeyUp = 3,
    kKeyDown = 4,
    kKeyReturn = 5,
    kKeyHardware1 = 6,
    kKeyHardware2 = 7,
    kKeyHardware3 = 8,
    kKeyHardware4 = 9,
};

// Characters of a character event that are not letters or digits.
enum CharacterCode : uint32_t {
    kCharBackspace = 0x08,
    kCharEnter = 0x0D,
    kCharEscape = 0x1B,
};

constexpr int kPayloadSlots = 11;
// A control event never carries keys, so its fields share the payload with
// the key list.
constexpr int kSlotControlId = 7;
constexpr int kSlotControlValue = 8;
constexpr int kSlotSliderValues = 9;  // two slots, four signed 16-bit values

struct InputEvent {
    uint32_t type;
    int16_t x;
    int16_t y;
    int16_t keyCount;
    uint32_t payload[kPayloadSlots];
};

// Results of a view's or the controller's HandleEvent.
enum HandleResult : int {
    kNotConsumed = 0,
    kConsumed = 1,
    kQuit = 2,
};
