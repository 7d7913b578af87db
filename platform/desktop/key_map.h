// Desktop keys as the handheld's keys, in the player's landscape orientation.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace plat {

struct MappedKey {
    enum Kind { kNone, kKey, kButton };
    Kind kind;
    uint32_t code;  // panel key code; for buttons 0xC1..0xC4
};

MappedKey MapKey(SDL_Keycode key);

// The character a key-down types ('a'..'z' and 'A'..'Z' by Shift and Caps
// Lock, '0'..'9', 0x08 Backspace, 0x0D Enter, 0x1B Escape), or 0 for none.
uint32_t TypedChar(SDL_Keycode key, uint16_t modifiers);

}  // namespace plat
