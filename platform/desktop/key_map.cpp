#include "platform/desktop/key_map.h"

#include "platform/platform.h"

namespace plat {

MappedKey MapKey(SDL_Keycode key) {
    switch (key) {
        // The panel's up and down run along the player's left and right.
        case SDLK_LEFT:
            return {MappedKey::kKey, kVkDown};
        case SDLK_RIGHT:
            return {MappedKey::kKey, kVkUp};
        case SDLK_UP:
            return {MappedKey::kKey, kVkLeft};
        case SDLK_DOWN:
            return {MappedKey::kKey, kVkRight};
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return {MappedKey::kKey, kVkReturn};
        case SDLK_1:
        case SDLK_2:
        case SDLK_3:
        case SDLK_4:
            return {MappedKey::kButton, kVkHardware1 + static_cast<uint32_t>(key - SDLK_1)};
        case SDLK_SPACE:
            return {MappedKey::kButton, kVkHardware1 + 2};  // the reload button
        default:
            return {MappedKey::kNone, 0};
    }
}

}  // namespace plat
