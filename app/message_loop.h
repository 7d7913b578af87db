// The program's one message loop and the reduced reader for modal loops.
#pragma once

#include "app/input_event.h"
#include "app/input_translator.h"

class EventDispatcher;

// Reads every message, turns it into one event and dispatches it, until the
// dispatcher asks to quit or the message queue ends. Returns the last
// dispatch result (0 when it ended by quitting or before any event).
int RunMessageLoop(InputState& state, EventDispatcher& dispatcher);

// Reads exactly one message into a fresh event without dispatching it.
// False once the message queue has ended: a modal loop must then give up, as
// no further input will ever come.
bool ReadModalEvent(InputState& state, InputEvent& event);
