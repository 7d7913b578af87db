// The value types every drawing operation shares.
#pragma once

#include <cstdint>

namespace gfx {

// RGB 5-6-5: red in bits 15..11, green in 10..5, blue in 4..0.
using Colour = uint16_t;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// Right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

// The panel the game is composed for.
constexpr int32_t kScreenWidth = 240;
constexpr int32_t kScreenHeight = 320;

}  // namespace gfx
