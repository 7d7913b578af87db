// Building input events for widget tests.
#pragma once

#include "app/input_event.h"

inline InputEvent Pen(uint32_t type, int32_t x, int32_t y) {
    InputEvent event{};
    event.type = type;
    event.x = static_cast<int16_t>(x);
    event.y = static_cast<int16_t>(y);
    return event;
}
