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

}  // namespace plat
