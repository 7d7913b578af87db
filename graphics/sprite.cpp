#include "graphics/sprite.h"

#include "graphics/picture_pool.h"

namespace gfx {
namespace {

// A sprite left standing on the display is erased with what it saved, so
// that buffer must not change under it.
void TakeOff(Sprite& sprite) {
    if (sprite.standsOn != nullptr) sprite.standsOn->TakeOffStanding();
}

void SetUp(Sprite& sprite, Picture* picture, int32_t x, int32_t y, bool savesBackground, bool keyed, bool blend,
           Colour key) {
    TakeOff(sprite);
    sprite.image = picture;
    sprite.width = picture != nullptr ? picture->width : 0;
    sprite.height = picture != nullptr ? picture->height : 0;
    sprite.x = x;
    sprite.y = y;
    sprite.keyed = keyed;
    sprite.blend = blend;
    sprite.key = key;
    if (key == kKeyFromImage) {
        const bool hasPixel = picture != nullptr && picture->surface != nullptr && picture->width != 0 &&
                              picture->height != 0;
        sprite.key = hasPixel ? picture->surface->At(0, 0) : 0;
    }
    if (savesBackground) {
        AllocateSpriteBackground(sprite);
        sprite.savesBackground = sprite.background != nullptr;
    } else {
        GivePicture(sprite.background);
        sprite.background = nullptr;
        sprite.savesBackground = false;
    }
}

}  // namespace

Sprite::~Sprite() {
    TakeOff(*this);
    GivePicture(background);
}

void CreateSprite(Sprite& sprite, PictureHolder* holder, int32_t x, int32_t y, bool savesBackground, bool keyed,
                  bool blend, Colour key) {
    sprite.holder = holder;
    SetUp(sprite, holder != nullptr ? holder->picture : nullptr, x, y, savesBackground, keyed, blend, key);
}

int SetSpritePicture(Sprite& sprite, Picture* picture, int32_t x, int32_t y, bool savesBackground, bool keyed,
                     bool blend, Colour key) {
    SetUp(sprite, picture, x, y, savesBackground, keyed, blend, key);
    // A background buffer that could not be made is a failure, not a sprite
    // that silently never erases.
    return savesBackground && !sprite.savesBackground ? -1 : 0;
}

void AllocateSpriteBackground(Sprite& sprite) {
    TakeOff(sprite);
    GivePicture(sprite.background);
    sprite.background = TakePicture(static_cast<uint16_t>(sprite.width), static_cast<uint16_t>(sprite.height));
}

void FreeSpriteBackground(Sprite& sprite) {
    TakeOff(sprite);
    GivePicture(sprite.background);
    sprite.background = nullptr;
    sprite.savesBackground = false;
    sprite.image = nullptr;
}

}  // namespace gfx
