#include "graphics/sprite.h"

#include <gtest/gtest.h>

#include <tuple>

#include "graphics/blit.h"
#include "graphics/picture_pool.h"

namespace {

TEST(Sprites, AutomaticKeyIsTheImagesTopLeftPixel) {
    gfx::PictureHolder holder;
    holder.picture = &holder.held;
    gfx::CreateBlankPicture(*holder.picture, 6, 4);
    gfx::FillSurface(*holder.picture->surface, 0x1234);
    holder.picture->surface->Row(0)[0] = 0xFFFF;  // white is a colour here, not "automatic"
    gfx::Sprite sprite;
    gfx::CreateSprite(sprite, &holder, 3, 4, false, true, false, gfx::kKeyFromImage);
    EXPECT_EQ(sprite.key, 0xFFFF);
    EXPECT_EQ(sprite.background, nullptr);

    holder.picture->surface->Row(0)[0] = 0x0F0F;
    gfx::CreateSprite(sprite, &holder, 0, 0, false, true, false, gfx::kKeyFromImage);
    EXPECT_EQ(sprite.key, 0x0F0F);
    gfx::CreateSprite(sprite, &holder, 0, 0, false, true, false, 0x0001);
    EXPECT_EQ(sprite.key, 0x0001);
}

TEST(Sprites, MovingSpritesOwnABackgroundOfTheirSize) {
    gfx::Picture picture;
    gfx::CreateBlankPicture(picture, 5, 7);
    gfx::PictureHolder earlier;
    gfx::Sprite sprite;
    sprite.holder = &earlier;
    EXPECT_EQ(gfx::SetSpritePicture(sprite, &picture, 1, 2, true, false, true, 0), 0);
    EXPECT_EQ(sprite.holder, &earlier);  // left as it was
    ASSERT_TRUE(sprite.savesBackground);
    ASSERT_NE(sprite.background, nullptr);
    EXPECT_EQ(sprite.background->width, 5);
    EXPECT_EQ(sprite.background->height, 7);

    // Resized: a fresh buffer of the new size.
    sprite.width = 9;
    sprite.height = 2;
    gfx::AllocateSpriteBackground(sprite);
    EXPECT_EQ(sprite.background->width, 9);

    // Static again: the buffer goes.
    EXPECT_EQ(gfx::SetSpritePicture(sprite, &picture, 1, 2, false, false, false, 0), 0);
    EXPECT_EQ(sprite.background, nullptr);
    EXPECT_FALSE(sprite.savesBackground);

    gfx::SetSpritePicture(sprite, &picture, 1, 2, true, false, false, 0);
    gfx::FreeSpriteBackground(sprite);
    EXPECT_EQ(sprite.background, nullptr);
    EXPECT_EQ(sprite.image, nullptr);
    EXPECT_FALSE(sprite.savesBackground);
}

TEST(Sprites, OverlapIsStrict) {
    gfx::Sprite a;
    gfx::Sprite b;
    a.width = b.width = 10;
    a.height = b.height = 10;
    const std::tuple<int32_t, int32_t, bool> cases[] = {{9, 9, true}, {10, 9, false}, {-10, 9, false}, {-9, -9, true}};
    for (const auto& [x, y, overlap] : cases) {
        b.x = x;
        b.y = y;
        EXPECT_EQ(gfx::SpritesOverlap(a, b), overlap) << x << "," << y;
    }
}

// Background buffers and labels come from fixed slots once the pool is made:
// black and of the asked size every time, a slot used again once given back,
// the heap beyond the largest slot.
TEST(Sprites, PicturesComeBlackFromThePoolAndGoBack) {
    gfx::PreparePicturePool();
    const uint32_t before = gfx::PicturesTaken();
    gfx::Picture* a = gfx::TakePicture(34, 40);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(gfx::PicturesTaken(), before + 1);
    ASSERT_NE(a->surface, nullptr);
    EXPECT_EQ(a->width, 34);
    EXPECT_EQ(a->surface->height, 40u);
    gfx::FillSurface(*a->surface, 0x1234);
    gfx::GivePicture(a);
    EXPECT_EQ(gfx::PicturesTaken(), before);
    gfx::Picture* b = gfx::TakePicture(40, 34);
    EXPECT_EQ(b, a);  // the same slot, cleared
    EXPECT_EQ(b->surface->At(39, 33), 0);
    gfx::Picture* big = gfx::TakePicture(240, 320);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->surface->width, 240u);
    EXPECT_EQ(gfx::PicturesTaken(), before + 1);  // from the heap
    gfx::GivePicture(big);
    gfx::GivePicture(b);
    gfx::GivePicture(nullptr);
    EXPECT_EQ(gfx::PicturesTaken(), before);
}

}  // namespace
