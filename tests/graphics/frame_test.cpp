#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/blit.h"
#include "graphics/display.h"
#include "graphics/layer_manager.h"
#include "graphics/scene.h"
#include "platform/testing.h"

namespace {

using gfx::Rect;

constexpr gfx::Colour kGround = 0x0841;
constexpr gfx::Colour kDuck = 0xF800;
constexpr gfx::Colour kSign = 0x07E0;

gfx::Colour Panel(int32_t x, int32_t y) { return plat::testing::PresentedPanel()[y * gfx::kScreenWidth + x]; }

// A shifted copy leaves the uncovered strip; rectangles are cut to the surface.
TEST(Presents, WholeShiftedAndRectangles) {
    EXPECT_TRUE(gfx::DisplaySurface(239, 2).pitch == 480u && gfx::DisplaySurface(1, 1).pitch == 4u && !gfx::DisplaySurface(3, 2).ownsPixels);
    plat::testing::Reset();
    gfx::Display display;
    gfx::Surface& surface = display.GetDisplaySurface();
    ASSERT_EQ(surface.width, 240u);
    for (int32_t i = 0; i < 240 * 320; ++i) surface.pixels[i] = static_cast<uint16_t>(1 + i);
    for (const bool offset : {false, true}) {
        plat::testing::Reset();
        offset ? display.PresentOffset(0, 0) : display.PresentAll();
        EXPECT_EQ(Panel(239, 319), static_cast<uint16_t>(240 * 320));
    }
    plat::testing::Reset();
    display.PresentOffset(-4, 6);  // 236 x 314 from surface (4, 0) to window (0, 6)
    EXPECT_TRUE(Panel(0, 6) == surface.At(4, 0) && Panel(235, 319) == surface.At(239, 313) && Panel(0, 5) == 0 && Panel(236, 100) == 0);
    plat::testing::Reset();
    display.PresentOffset(300, -400);
    display.PresentRects(nullptr, 0);
    EXPECT_EQ(Panel(0, 0), 0);
    const Rect rects[] = {{10, 20, 12, 22}, {230, 310, 260, 400}, {-50, -50, -10, -10}};
    display.PresentRects(rects, 3);
    EXPECT_TRUE(plat::testing::PresentCount() == 3u && Panel(11, 21) == surface.At(11, 21) && Panel(12, 21) == 0 && Panel(239, 319) == surface.At(239, 319));
}

std::vector<const gfx::Sprite*> Order(const gfx::SpriteList& list) {
    std::vector<const gfx::Sprite*> out;
    for (auto* n = list.Head(); n != nullptr; n = n->next) out.push_back(n->sprite);
    return out;
}

// Newest first among equal layers, never before the head.
TEST(SpriteLists, OrderRemovalAndAFullPool) {
    gfx::Sprite s[5];
    gfx::SpriteList list;
    const uint16_t layers[] = {5, 3, 5, 7, 5};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(list.Insert(&s[i], layers[i]));
    EXPECT_TRUE(Order(list) == (std::vector<const gfx::Sprite*>{&s[1], &s[4], &s[2], &s[0], &s[3]}) && list.Tail()->prev->sprite == &s[0]);
    gfx::SpriteList twice;
    twice.Insert(&s[0], 1);
    twice.Insert(&s[1], 2);
    twice.Insert(&s[0], 3);
    EXPECT_TRUE(twice.Remove(&s[0]) && Order(twice) == (std::vector<const gfx::Sprite*>{&s[1], &s[0]}) && twice.Head()->prev == nullptr);
    EXPECT_TRUE(twice.Remove(&s[0]) && twice.Remove(&s[1]) && !twice.Remove(&s[1]));
    EXPECT_TRUE(twice.Head() == nullptr && twice.Tail() == nullptr && twice.Count() == 0);
    gfx::SpriteList full;
    for (int i = 0; i < gfx::SpriteList::kCapacity; ++i) ASSERT_TRUE(full.Insert(&s[0], static_cast<uint16_t>(i % 7)));
    EXPECT_FALSE(full.Insert(&s[0], 1));
    EXPECT_TRUE(full.Remove(&s[0]) && full.Insert(&s[0], 1));
    full.Clear();
    EXPECT_TRUE(full.Count() == 0 && full.Insert(&s[0], 1));
}

// A scene with no tiles over the test panel, and plain-coloured sprites on it.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    gfx::Surface& Screen() { return scene_.GetDisplayList().GetDisplay().GetDisplaySurface(); }

    // A sprite of one colour; it and its picture live as long as the test.
    gfx::Sprite& MakeSprite(int32_t x, int32_t y, uint16_t w, uint16_t h, gfx::Colour c, bool moving) {
        auto holder = std::make_unique<gfx::PictureHolder>();
        holder->picture = &holder->held;
        gfx::CreateBlankPicture(*holder->picture, w, h);
        gfx::FillSurface(*holder->picture->surface, c);
        auto sprite = std::make_unique<gfx::Sprite>();
        gfx::CreateSprite(*sprite, holder.get(), x, y, moving, false, false, 0);
        holders_.push_back(std::move(holder));
        sprites_.push_back(std::move(sprite));
        return *sprites_.back();
    }

    std::vector<std::unique_ptr<gfx::PictureHolder>> holders_;
    std::vector<std::unique_ptr<gfx::Sprite>> sprites_;
    gfx::Scene scene_{1, 3, 240, 320};
};

TEST_F(FrameTest, DirtyRectsMergeWhenTheUnionIsSmallGrowTheLastBeyondTwentyAndCoverWhatIsOnTheScreen) {
    auto& dl = scene_.GetDisplayList();
    dl.AddDirtyRect(0, 0, 10, 10);
    dl.AddDirtyRect(10, 0, 20, 10);  // union 200 < 300
    EXPECT_TRUE(dl.DirtyCount() == 1u && dl.DirtyRects()[0].right == 20);
    dl.AddDirtyRect(40, 0, 50, 10);  // union 500 vs 450: apart
    EXPECT_EQ(dl.DirtyCount(), 2u);
    dl.DiscardDirty();
    dl.AddDirtyRect(0, 0, 10, 10);
    dl.AddDirtyRect(20, 0, 30, 10);  // union 300 is not less than 300
    dl.AddDirtyRect(5, 5, 5, 9);     // empty: nothing to present
    EXPECT_EQ(dl.DirtyCount(), 2u);
    dl.DiscardDirty();
    for (int i = 0; i < 21; ++i) dl.AddDirtyRect(i * 11, i * 15, i * 11 + 2, i * 15 + 2);
    ASSERT_EQ(dl.DirtyCount(), 20u);
    const Rect last = dl.DirtyRects()[19];
    EXPECT_TRUE(last.left == 19 * 11 && last.right == 20 * 11 + 2 && last.bottom == 20 * 15 + 2);
    gfx::FillSurface(Screen(), kDuck);
    dl.FlushDirty();
    EXPECT_TRUE(dl.DirtyCount() == 0u && Panel(20 * 11 + 1, 20 * 15 + 1) == kDuck && Panel(0, 0) == kDuck && Panel(5, 5) == 0);

    // Partly off the screen, the visible part is drawn.
    gfx::Picture striped;
    gfx::CreateBlankPicture(striped, 20, 4);
    for (int32_t i = 0; i < 20 * 4; ++i) striped.surface->Row(i / 20)[i % 20] = static_cast<gfx::Colour>(100 + i % 20);
    gfx::FillSurface(Screen(), 0);
    dl.DrawClipped(&striped, -5, 30, false, 0, false);
    EXPECT_TRUE(Screen().At(0, 30) == 105 && Screen().At(14, 33) == 119 && Screen().At(15, 30) == 0);
    ASSERT_EQ(dl.DirtyCount(), 1u);
    EXPECT_TRUE(dl.DirtyRects()[0].left == 0 && dl.DirtyRects()[0].top == 30 && dl.DirtyRects()[0].right == 15 && dl.DirtyRects()[0].bottom == 34);
    dl.DiscardDirty();
    dl.DrawClipped(&striped, 230, 318, false, 0, false);  // bottom-right corner
    EXPECT_TRUE(Screen().At(239, 319) == 109 && dl.DirtyRects()[0].right == 240 && dl.DirtyRects()[0].bottom == 320);
    // Sprites just off the screen are skipped; one column on it shows.
    dl.DiscardDirty();
    for (const auto& [x, y] : {std::pair{240, 10}, {10, -8}, {-8, 10}, {10, 320}}) dl.DrawSprite(MakeSprite(x, y, 8, 8, kDuck, x < 0 || y >= 320));
    EXPECT_EQ(dl.DirtyCount(), 0u);
    dl.DrawSprite(MakeSprite(-7, 0, 8, 8, kDuck, false));
    EXPECT_TRUE(dl.DirtyCount() == 1u && Screen().At(0, 0) == kDuck);
}

TEST_F(FrameTest, MarkingDirtiesOverlappingStaticSpritesAboveOnlyAndPartialRedrawsShowWhatAFullRedrawWould) {
    gfx::Sprite& duck = MakeSprite(10, 10, 10, 10, kDuck, false);  // a moving one's marks wait for the frame
    gfx::Sprite* others[] = {&MakeSprite(12, 12, 4, 4, kSign, false), &MakeSprite(12, 12, 4, 4, kSign, false),
                             &MakeSprite(12, 12, 4, 4, kSign, false), &MakeSprite(20, 10, 4, 4, kSign, false)};
    scene_.AddSprite(duck, 2);
    for (int i = 0; i < 4; ++i) scene_.AddSprite(*others[i], static_cast<uint8_t>(i == 3 ? 3 : i + 1));  // layers 1, 2, 3, 3
    for (gfx::Sprite* s : others) s->dirty = false;
    scene_.MarkSpriteDirty(duck);
    EXPECT_TRUE(!others[0]->dirty && !others[1]->dirty && others[2]->dirty && !others[3]->dirty);
    scene_.MarkSpriteDirty(*others[0]);
    EXPECT_TRUE(others[0]->dirty);

    // A change to the ground, low, sign, high and extra sprites, and a point whose colour is known after it.
    struct Case { const char* name; void (*change)(gfx::Scene&, gfx::Sprite* s[]); int32_t x, y; gfx::Colour shown; };
    static const Case kCases[] = {
        // Once, nothing marked (a sprite left elsewhere) dropped every moving sprite for a frame.
        {"nothing marked", [](gfx::Scene&, gfx::Sprite*[]) {}, 15, 15, kDuck},
        {"a moving sprite removed", [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.RemoveSprite(*s[3]); }, 105, 105, kGround},
        // A static sprite above a moving one is redrawn over it.
        {"the low one moved under the sign", [](gfx::Scene& sc, gfx::Sprite* s[]) { s[1]->x = 15; sc.MarkSpriteDirty(*s[1]); }, 25, 25, kSign},
        {"the higher one moved", [](gfx::Scene& sc, gfx::Sprite* s[]) { s[3]->x = 150; sc.MarkSpriteDirty(*s[3]); }, 15, 15, kDuck},
        // Added at the sign's layer it goes before the sign, which stays on top.
        {"a moving sprite added under an equal layer", [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.AddSprite(*s[4], 4); }, 52, 32, kDuck},
        {"the sign's picture changed",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { gfx::FillSurface(*s[2]->image->surface, kDuck); sc.MarkSpriteDirty(*s[2]); }, 100, 25, kDuck},
        {"the low one moved to a higher layer", [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.RemoveSprite(*s[1]); sc.AddSprite(*s[1], 7); }, 25, 25, kDuck},
        {"hidden and shown again",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.RemoveSprite(*s[3]); sc.RedrawDirty(); sc.AddSprite(*s[3], 5); }, 105, 105, kSign},
        // Moving sprites stay drawn between frames: what changes them unmarked is still seen.
        {"a still one's picture drawn into", [](gfx::Scene&, gfx::Sprite* s[]) { gfx::FillSurface(*s[3]->image->surface, kDuck); }, 105, 105, kDuck},
        {"a still one given a smaller picture",
         [](gfx::Scene&, gfx::Sprite* s[]) { gfx::SetSpritePicture(*s[3], s[4]->image, 100, 100, true, false, false, 0); }, 107, 105, kGround},
        // A half-clear sign is drawn again only where a full redraw would draw it.
        {"the low one left from under a half-clear sign",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { s[2]->blend = true; sc.MarkSpriteDirty(*s[2]); sc.RedrawDirty(); s[1]->x = 150; }, 155, 15, kDuck},
        {"one added below the one under a half-clear sign",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { s[2]->blend = true; sc.MarkSpriteDirty(*s[2]); sc.RedrawDirty(); s[4]->y = 200; sc.AddSprite(*s[4], 1); }, 52, 202, kDuck},
        // A still one marked is drawn again only when it would look different.
        {"a still one made half-clear", [](gfx::Scene& sc, gfx::Sprite* s[]) { s[3]->blend = true; sc.MarkSpriteDirty(*s[3]); }, 105, 105, gfx::Half(kSign, kGround)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        scene_.ClearSprites();
        gfx::Sprite* s[] = {&MakeSprite(0, 0, 240, 320, kGround, false), &MakeSprite(10, 10, 20, 20, kDuck, true),
                            &MakeSprite(20, 20, 100, 10, kSign, false), &MakeSprite(100, 100, 10, 10, kSign, true),
                            &MakeSprite(50, 25, 5, 10, kDuck, true)};
        scene_.Check().Start(scene_.GetDisplayList().GetDisplay());
        const uint8_t layers[] = {0, 2, 4, 5};
        for (int i = 0; i < 4; ++i) scene_.AddSprite(*s[i], layers[i]);
        scene_.RedrawAll();
        scene_.RedrawDirty();
        c.change(scene_, s);
        scene_.RedrawDirty();
        scene_.RedrawDirty();  // and one more frame with nothing marked
        EXPECT_TRUE(scene_.Check().Differing() == 0u && Panel(c.x, c.y) == c.shown);
    }
    Screen().Row(7)[9] = kSign;  // drawn without a dirty rectangle: the check counts that frame
    scene_.RedrawDirty();
    EXPECT_EQ(scene_.Check().Differing(), 1u);
    scene_.Check().Stop();
}

// Once presenting one sprite dropped the pending rectangles, then sent the erasures alone.
TEST_F(FrameTest, PresentOneSpriteShakenFramesAndTheApplicationsList) {
    gfx::FillSurface(Screen(), kGround);
    gfx::Sprite& box = MakeSprite(50, 60, 10, 10, kSign, false);
    gfx::Sprite& thumb = MakeSprite(100, 100, 10, 10, kDuck, true);
    scene_.AddSprite(box, 1);
    scene_.AddSprite(thumb, 2);
    scene_.RedrawAll();
    thumb.y = 150;
    scene_.RedrawDirty();
    scene_.GetDisplayList().AddDirtyRect(0, 0, 240, 320);
    gfx::FillSurface(*box.image->surface, kDuck);  // the sprite itself is drawn again
    scene_.PresentOneSprite(box);
    EXPECT_TRUE(Panel(55, 65) == kDuck && Panel(105, 105) == kGround && Panel(105, 155) == kDuck);
    plat::testing::Reset();
    thumb.x = thumb.y = 0;
    scene_.RedrawShaken(5, 3);
    EXPECT_TRUE(Panel(5, 3) == kDuck && Panel(4, 3) == 0 && Panel(100, 100) == kGround);
    EXPECT_TRUE(Screen().At(0, 0) == kGround && scene_.GetDisplayList().DirtyCount() > 0u);

    // Animated sprites also go to the application's list, which is its own.
    scene_.ClearSprites();
    gfx::Sprite& duck = MakeSprite(0, 0, 4, 4, kDuck, true);
    scene_.AddSpriteAnimated(duck, 4);  // no list yet: only the layers
    gfx::SpriteList animated;
    scene_.SetAnimationList(&animated);
    gfx::Sprite& other = MakeSprite(0, 0, 4, 4, kDuck, true);
    scene_.AddSpriteAnimated(other, 9);
    ASSERT_EQ(animated.Count(), 1);
    EXPECT_TRUE(animated.Head()->sprite == &other && animated.Head()->layer == 0 && other.layer == 9);
    scene_.RemoveSprite(other);
    EXPECT_TRUE(scene_.Sprites().Count() == 1 && animated.Count() == 1);  // the duck in the layers, the other still animated
    scene_.RemoveSpriteAnimated(other);
    scene_.RemoveSpriteAnimated(duck);  // never in the animated list
    EXPECT_TRUE(animated.Count() == 0 && scene_.Sprites().Count() == 0);
}

// A panel row below the last tile is skipped, not read.
TEST_F(FrameTest, TilesAndSpritesArePlacedByTheScroll) {
    scene_.CreateTiles(gfx::GroundTileId);
    gfx::Picture tiles[3];
    for (int r = 0; r < 3; ++r) gfx::LoadPicture(tiles[r], static_cast<uint16_t>(148 - r), 240, 320);
    ASSERT_TRUE(gfx::GroundTileId(0, 0) == 148 && gfx::GroundTileId(0, 2) == 146);
    const auto expectRow = [&tiles](int32_t y, int tile, int32_t row) {
        for (int32_t x = 0; x < 240; x += 7) ASSERT_EQ(Panel(x, y), tiles[tile].surface->At(x, row)) << "panel row " << y;
    };
    const struct { int32_t scroll, rows[3][3]; } cases[] = {  // rows: panel row, tile, tile row
        {0, {{0, 0, 0}, {319, 0, 319}, {319, 0, 319}}},
        {639, {{0, 1, 319}, {1, 2, 0}, {319, 2, 318}}},  // one line of the middle tile
        {330, {{0, 1, 10}, {309, 1, 319}, {310, 2, 0}}},
        {700, {{0, 2, 60}, {259, 2, 319}, {259, 2, 319}}},
        {-50, {{50, 0, 0}, {50, 0, 0}, {50, 0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scroll);
        scene_.SetScroll(0, c.scroll);
        scene_.RedrawScene();
        for (const auto& r : c.rows) expectRow(r[0], r[1], r[2]);
    }
    scene_.AddSprite(MakeSprite(20, 150, 4, 4, kDuck, true), 3);
    scene_.SetScroll(0, 100);
    scene_.ScrollBy(0, 10);
    scene_.ScrollBy(0, 10);
    scene_.RedrawScene();
    EXPECT_TRUE(scene_.GetDisplayList().ViewY() == 120 && Panel(20, 30) == kDuck && Panel(20, 29) == tiles[0].surface->At(20, 149));
    expectRow(0, 0, 120);
}

}  // namespace
