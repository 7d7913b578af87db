// A picture at a world position, optionally keyed and half transparent.
#pragma once

#include <cstdint>

#include "graphics/geometry.h"
#include "graphics/picture.h"

namespace gfx {

// Given as a key: take the image's top-left pixel (so white is never a key).
constexpr Colour kKeyFromImage = 0xFFFF;

class Sprite {
public:
    Sprite() = default;
    virtual ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    bool dirty = false;              // static sprites: redraw at the next frame
    Picture* background = nullptr;   // owned; only while savesBackground
    Picture* image = nullptr;        // not owned
    PictureHolder* holder = nullptr; // where image came from, if anywhere
    int32_t x = 0;                   // world position of the top-left corner
    int32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    bool savesBackground = false;    // a moving sprite, erased after each frame
    bool keyed = false;
    bool blend = false;
    Colour key = 0;
    uint8_t layer = 0;
    // While the scene leaves it drawn on the display between frames: where
    // (screen position) and what it drew, to erase it or see it changed.
    StandingGuard* standsOn = nullptr;
    Point stoodAt{};
    const Picture* stoodImage = nullptr;
    uint32_t stoodVersion = 0;
    uint32_t stoodLook = 0;  // key, keyed and blend as drawn
    // The scene whose list holds it, if any: kept by the scene, which
    // removes it through a const reference.
    mutable const StandingGuard* scene = nullptr;
};

void CreateSprite(Sprite& sprite, PictureHolder* holder, int32_t x, int32_t y, bool savesBackground, bool keyed,
                  bool blend, Colour key);
// As CreateSprite from a picture; the holder is left as it was. 0 on
// success, -1 when the background buffer could not be allocated.
int SetSpritePicture(Sprite& sprite, Picture* picture, int32_t x, int32_t y, bool savesBackground, bool keyed,
                     bool blend, Colour key);
// A fresh black background buffer of the sprite's current size.
void AllocateSpriteBackground(Sprite& sprite);
// Drops the background buffer and the image.
void FreeSpriteBackground(Sprite& sprite);

// Rectangles in world coordinates overlap (strictly). Inline: every frame
// asks it for many pairs.
inline bool SpritesOverlap(const Sprite& a, const Sprite& b) {
    const int64_t aw = a.width, ah = a.height, bw = b.width, bh = b.height;
    return a.x < b.x + bw && b.x < a.x + aw && a.y < b.y + bh && b.y < a.y + ah;
}

}  // namespace gfx
