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

uint32_t TypedChar(SDL_Keycode key, uint16_t modifiers) {
    if (key >= SDLK_a && key <= SDLK_z) {
        const bool upper = ((modifiers & KMOD_SHIFT) != 0) != ((modifiers & KMOD_CAPS) != 0);
        return static_cast<uint32_t>(key - SDLK_a) + (upper ? 'A' : 'a');
    }
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>(key - SDLK_0) + '0';
    // The keypad's digits only while it types them.
    if ((modifiers & KMOD_NUM) != 0) {
        if (key == SDLK_KP_0) return '0';
        if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<uint32_t>(key - SDLK_KP_1) + '1';
    }
    switch (key) {
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_ESCAPE:
            return 0x1B;
        default:
            return 0;
    }
}

}  // namespace plat
