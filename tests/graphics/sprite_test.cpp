#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include "graphics/blit.h"
#include "graphics/picture_pool.h"

namespace {

// White is a colour here, not "automatic".
TEST(Sprites, KeysAndBackgrounds) {
    gfx::PictureHolder holder;
    holder.picture = &holder.held;
    gfx::CreateBlankPicture(*holder.picture, 6, 4);
    gfx::FillSurface(*holder.picture->surface, 0x1234);
    gfx::Sprite sprite;
    for (const gfx::Colour corner : {gfx::Colour{0xFFFF}, gfx::Colour{0x0F0F}}) {
        holder.picture->surface->Row(0)[0] = corner;
        gfx::CreateSprite(sprite, &holder, 3, 4, false, true, false, gfx::kKeyFromImage);
        EXPECT_TRUE(sprite.key == corner && sprite.background == nullptr);
    }
    gfx::CreateSprite(sprite, &holder, 0, 0, false, true, false, 0x0001);
    EXPECT_EQ(sprite.key, 0x0001);

    gfx::Picture picture;
    gfx::CreateBlankPicture(picture, 5, 7);
    gfx::PictureHolder earlier;
    sprite.holder = &earlier;
    EXPECT_TRUE(gfx::SetSpritePicture(sprite, &picture, 1, 2, true, false, true, 0) == 0 && sprite.holder == &earlier);  // left as it was
    ASSERT_TRUE(sprite.savesBackground && sprite.background != nullptr);
    EXPECT_TRUE(sprite.background->width == 5 && sprite.background->height == 7);
    sprite.width = 9;  // resized: a fresh buffer of the new size
    sprite.height = 2;
    gfx::AllocateSpriteBackground(sprite);
    EXPECT_EQ(sprite.background->width, 9);
    EXPECT_EQ(gfx::SetSpritePicture(sprite, &picture, 1, 2, false, false, false, 0), 0);  // static again: it goes
    EXPECT_TRUE(sprite.background == nullptr && !sprite.savesBackground);
    gfx::SetSpritePicture(sprite, &picture, 1, 2, true, false, false, 0);
    gfx::FreeSpriteBackground(sprite);
    EXPECT_TRUE(sprite.background == nullptr && sprite.image == nullptr && !sprite.savesBackground);
}

// Fixed slots once the pool is made, the heap beyond the largest.
TEST(Sprites, PicturesComeBlackFromThePoolAndGoBack) {
    gfx::PreparePicturePool();
    const uint32_t before = gfx::PicturesTaken();
    gfx::Picture* a = gfx::TakePicture(34, 40);
    ASSERT_TRUE(a != nullptr && a->surface != nullptr);
    EXPECT_TRUE(gfx::PicturesTaken() == before + 1 && a->width == 34 && a->surface->height == 40u);
    gfx::FillSurface(*a->surface, 0x1234);
    gfx::GivePicture(a);
    gfx::Picture* b = gfx::TakePicture(40, 34);
    EXPECT_TRUE(b == a && b->surface->At(39, 33) == 0);  // the same slot, cleared
    gfx::Picture* big = gfx::TakePicture(240, 320);
    ASSERT_TRUE(big != nullptr && big->surface->width == 240u && gfx::PicturesTaken() == before + 1);  // from the heap
    gfx::GivePicture(big);
    gfx::GivePicture(b);
    gfx::GivePicture(nullptr);
    EXPECT_EQ(gfx::PicturesTaken(), before);
}

}  // namespace
