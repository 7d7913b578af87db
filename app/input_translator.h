// Turns window messages into input events: the held-key mask, the stylus
// state and the two translators (main loop and modal loops).
#pragma once

#include <cstdint>

#include "app/input_event.h"
#include "platform/platform.h"

enum KeyMaskBit : uint16_t {
    kMaskPen = 0x8000,
    kMaskHardware1 = 0x4000,
    kMaskHardware2 = 0x2000,
    kMaskHardware3 = 0x1000,
    kMaskHardware4 = 0x0800,
    kMaskLeft = 0x0400,
    kMaskUp = 0x0200,
    kMaskRight = 0x0100,
    kMaskDown = 0x0080,
    kMaskReturn = 0x0040,
};

// Shared by the main loop and modal loops so that a stylus going down in one
// and up in the other still yields one pen-down and one pen-up.
struct InputState {
    uint16_t keyMask = 0;
    uint8_t penDown = 0;
    int16_t penX = 0;  // last stylus position seen in any pen message
    int16_t penY = 0;
    // A character or focus-loss message waiting to become its one event;
    // they touch no mask bit.
    uint32_t pendingType = kEventIdle;
    uint32_t pendingCharacter = 0;
};

// Updates the mask and the stylus position from one message.
void ApplyMessage(InputState& state, const plat::Message& message);

// Main loop: builds the event in place. Fields a message does not set keep
// their previous values; the key list wins over nothing, the stylus over keys.
void BuildMainEvent(InputState& state, InputEvent& event);

// Modal loops: a fresh record; held keys are listed, but a pen event keeps
// its type.
InputEvent BuildModalEvent(InputState& state);
