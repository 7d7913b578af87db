#include "graphics/layer_manager.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/graphics/frame_fixture.h"

namespace {

using gfx::Rect;
using gfxtest::FrameTest;

constexpr gfx::Colour kGround = 0x0841;
constexpr gfx::Colour kDuck = 0xF800;
constexpr gfx::Colour kSign = 0x07E0;

std::vector<const gfx::Sprite*> Order(const gfx::SpriteList& list) {
    std::vector<const gfx::Sprite*> out;
    for (auto* n = list.Head(); n != nullptr; n = n->next) out.push_back(n->sprite);
    return out;
}

TEST(SpriteLists, OrderRemovalAndAFullPool) {
    gfx::Sprite s[5];
    gfx::SpriteList list;
    const uint16_t layers[] = {5, 3, 5, 7, 5};
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(list.Insert(&s[i], layers[i]));
    // Newest first among equal layers, but never before the head.
    EXPECT_EQ(Order(list), (std::vector<const gfx::Sprite*>{&s[1], &s[4], &s[2], &s[0], &s[3]}));
    EXPECT_EQ(list.Tail()->prev->sprite, &s[0]);
    gfx::SpriteList same;
    for (int i = 0; i < 3; ++i) same.Insert(&s[i], 2);
    EXPECT_EQ(Order(same), (std::vector<const gfx::Sprite*>{&s[0], &s[2], &s[1]}));

    // Remove unlinks the first of a sprite's nodes.
    gfx::SpriteList twice;
    twice.Insert(&s[0], 1);
    twice.Insert(&s[1], 2);
    twice.Insert(&s[0], 3);
    EXPECT_TRUE(twice.Remove(&s[0]));
    EXPECT_EQ(Order(twice), (std::vector<const gfx::Sprite*>{&s[1], &s[0]}));
    EXPECT_EQ(twice.Head()->prev, nullptr);
    EXPECT_TRUE(twice.Remove(&s[0]));
    EXPECT_TRUE(twice.Remove(&s[1]));
    EXPECT_FALSE(twice.Remove(&s[1]));
    EXPECT_TRUE(twice.Head() == nullptr && twice.Tail() == nullptr && twice.Count() == 0);

    gfx::SpriteList full;
    for (int i = 0; i < gfx::SpriteList::kCapacity; ++i) ASSERT_TRUE(full.Insert(&s[0], static_cast<uint16_t>(i % 7)));
    EXPECT_FALSE(full.Insert(&s[0], 1));
    EXPECT_TRUE(full.Remove(&s[0]));
    EXPECT_TRUE(full.Insert(&s[0], 1));
    full.Clear();
    EXPECT_EQ(full.Count(), 0);
    EXPECT_TRUE(full.Insert(&s[0], 1));
}

using DirtyRects = FrameTest;

TEST_F(DirtyRects, MergeWhenTheUnionIsSmallAndGrowTheLastBeyondTwenty) {
    auto& dl = scene_.GetDisplayList();
    dl.AddDirtyRect(0, 0, 10, 10);
    dl.AddDirtyRect(10, 0, 20, 10);  // union 200 < 300
    ASSERT_EQ(dl.DirtyCount(), 1u);
    EXPECT_EQ(dl.DirtyRects()[0].right, 20);
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
    EXPECT_EQ(last.left, 19 * 11);
    EXPECT_EQ(last.right, 20 * 11 + 2);
    EXPECT_EQ(last.bottom, 20 * 15 + 2);
    // Flushing presents all of it and empties the list.
    FillScreen(kDuck);
    dl.FlushDirty();
    EXPECT_EQ(dl.DirtyCount(), 0u);
    EXPECT_EQ(Panel(20 * 11 + 1, 20 * 15 + 1), kDuck);
    EXPECT_EQ(Panel(0, 0), kDuck);
    EXPECT_EQ(Panel(5, 5), 0);
}

using Clipping = FrameTest;

TEST_F(Clipping, PartlyOffScreenDrawsTheVisiblePart) {
    gfx::Picture striped;
    gfx::CreateBlankPicture(striped, 20, 4);
    for (int32_t x = 0; x < 20; ++x) {
        for (int32_t y = 0; y < 4; ++y) striped.surface->Row(y)[x] = static_cast<gfx::Colour>(100 + x);
    }
    auto& dl = scene_.GetDisplayList();
    dl.DrawClipped(&striped, -5, 30, false, 0, false);
    EXPECT_EQ(Screen().At(0, 30), 105);   // picture column 5 at screen column 0
    EXPECT_EQ(Screen().At(14, 33), 119);
    EXPECT_EQ(Screen().At(15, 30), 0);
    ASSERT_EQ(dl.DirtyCount(), 1u);
    const Rect r = dl.DirtyRects()[0];
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right, 15);
    EXPECT_EQ(r.bottom, 34);

    dl.DiscardDirty();
    dl.DrawClipped(&striped, 230, 318, false, 0, false);  // bottom-right corner
    EXPECT_EQ(Screen().At(239, 319), 109);
    EXPECT_EQ(dl.DirtyRects()[0].right, 240);
    EXPECT_EQ(dl.DirtyRects()[0].bottom, 320);

    // Sprites just off the screen are skipped.
    dl.DiscardDirty();
    dl.DrawSprite(MakeSprite(240, 10, 8, 8, kDuck, false));
    dl.DrawSprite(MakeSprite(10, -8, 8, 8, kDuck, false));  // sy + height = 0
    dl.DrawSprite(MakeSprite(-8, 10, 8, 8, kDuck, true));
    dl.DrawSprite(MakeSprite(10, 320, 8, 8, kDuck, true));
    EXPECT_EQ(dl.DirtyCount(), 0u);
    dl.DrawSprite(MakeSprite(-7, 0, 8, 8, kDuck, false));  // one column shows
    EXPECT_EQ(dl.DirtyCount(), 1u);
    EXPECT_EQ(Screen().At(0, 0), kDuck);
}

using Layers = FrameTest;

TEST_F(Layers, MarkingDirtiesOverlappingStaticSpritesAboveOnly) {
    gfx::Sprite& duck = MakeSprite(10, 10, 10, 10, kDuck, true);
    gfx::Sprite& below = MakeSprite(12, 12, 4, 4, kSign, false);
    gfx::Sprite& same = MakeSprite(12, 12, 4, 4, kSign, false);
    gfx::Sprite& above = MakeSprite(12, 12, 4, 4, kSign, false);
    gfx::Sprite& touching = MakeSprite(20, 10, 4, 4, kSign, false);  // shares an edge only
    scene_.AddSprite(duck, 2);
    scene_.AddSprite(below, 1);
    scene_.AddSprite(same, 2);
    scene_.AddSprite(above, 3);
    scene_.AddSprite(touching, 3);
    EXPECT_FALSE(duck.dirty);  // moving sprites are never flagged
    for (gfx::Sprite* s : {&below, &same, &above, &touching}) s->dirty = false;

    scene_.MarkSpriteDirty(duck);
    EXPECT_TRUE(above.dirty);
    EXPECT_FALSE(same.dirty);
    EXPECT_FALSE(below.dirty);
    EXPECT_FALSE(touching.dirty);

    below.dirty = false;
    scene_.MarkSpriteDirty(below);
    EXPECT_TRUE(below.dirty);
}

// Whatever changed, the window shows what a full redraw of the scene would:
// the oracle of --check-frames watches every frame of each case.
TEST_F(Layers, PartialRedrawsShowWhatAFullRedrawWould) {
    struct Case {
        const char* name;
        void (*change)(gfx::Scene&, gfx::Sprite* s[]);  // ground, low, sign, high, extra
        int32_t x, y;                                   // a point whose colour is known after it
        gfx::Colour shown;
    };
    static const Case kCases[] = {
        // Once, nothing marked (a sprite left elsewhere) dropped every moving sprite for a frame.
        {"nothing marked", [](gfx::Scene&, gfx::Sprite*[]) {}, 15, 15, kDuck},
        {"a moving sprite removed",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.RemoveSprite(*s[3]); }, 105, 105, kGround},
        // A static sprite above a moving one is redrawn over it.
        {"the low one moved under the sign",
         [](gfx::Scene& sc, gfx::Sprite* s[]) {
             s[1]->x = 15;
             sc.MarkSpriteDirty(*s[1]);
         },
         25, 25, kSign},
        {"the higher one moved, the lower unmarked",
         [](gfx::Scene& sc, gfx::Sprite* s[]) {
             s[3]->x = 150;
             sc.MarkSpriteDirty(*s[3]);
         },
         15, 15, kDuck},
        // Added at the sign's layer it goes before the sign, which stays on top.
        {"a moving sprite added under an equal layer",
         [](gfx::Scene& sc, gfx::Sprite* s[]) { sc.AddSprite(*s[4], 4); }, 52, 32, kDuck},
        {"the sign's picture changed",
         [](gfx::Scene& sc, gfx::Sprite* s[]) {
             gfx::FillSurface(*s[2]->image->surface, kDuck);
             sc.MarkSpriteDirty(*s[2]);
         },
         100, 25, kDuck},
        {"the low one moved to a higher layer",
         [](gfx::Scene& sc, gfx::Sprite* s[]) {
             sc.RemoveSprite(*s[1]);
             sc.AddSprite(*s[1], 7);
         },
         25, 25, kDuck},
        {"hidden and shown again",
         [](gfx::Scene& sc, gfx::Sprite* s[]) {
             sc.RemoveSprite(*s[3]);
             sc.RedrawDirty();
             sc.AddSprite(*s[3], 5);
         },
         105, 105, kSign},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        scene_.ClearSprites();
        gfx::Sprite* s[] = {&MakeSprite(0, 0, 240, 320, kGround, false), &MakeSprite(10, 10, 20, 20, kDuck, true),
                            &MakeSprite(20, 20, 100, 10, kSign, false), &MakeSprite(100, 100, 10, 10, kSign, true),
                            &MakeSprite(50, 25, 5, 10, kDuck, true)};
        scene_.Check().Start(scene_.GetDisplayList().GetDisplay());
        scene_.AddSprite(*s[0], 0);
        scene_.AddSprite(*s[1], 2);
        scene_.AddSprite(*s[2], 4);
        scene_.AddSprite(*s[3], 5);
        scene_.RedrawAll();
        c.change(scene_, s);
        scene_.RedrawDirty();
        scene_.RedrawDirty();  // and one more frame with nothing marked
        EXPECT_EQ(scene_.Check().Differing(), 0u);
        EXPECT_EQ(Panel(c.x, c.y), c.shown);
    }
}

// Once it dropped the pending rectangles (a moved slider thumb's old place
// stayed on the window), then it sent out the thumbs' erasures alone.
TEST_F(Layers, PresentOneSpriteIsAWholePartialFrame) {
    FillScreen(kGround);
    gfx::Sprite& box = MakeSprite(50, 60, 10, 10, kSign, false);
    gfx::Sprite& thumb = MakeSprite(100, 100, 10, 10, kDuck, true);
    scene_.AddSprite(box, 1);
    scene_.AddSprite(thumb, 2);
    scene_.RedrawAll();
    thumb.y = 150;
    scene_.RedrawDirty();
    scene_.GetDisplayList().AddDirtyRect(0, 0, 240, 320);
    scene_.PresentOneSprite(box);
    EXPECT_EQ(Panel(55, 65), kSign);
    EXPECT_EQ(Panel(105, 105), kGround);
    EXPECT_EQ(Panel(105, 155), kDuck);
}

TEST_F(Layers, ShakenFramePresentsTheWholeSurfaceShifted) {
    gfx::Sprite& ground = MakeSprite(0, 0, 240, 320, kGround, false);
    gfx::Sprite& duck = MakeSprite(0, 0, 10, 10, kDuck, true);
    scene_.AddSprite(ground, 0);
    scene_.AddSprite(duck, 3);
    scene_.RedrawShaken(5, 3);
    EXPECT_EQ(Panel(5, 3), kDuck);
    EXPECT_EQ(Panel(4, 3), 0);
    EXPECT_EQ(Panel(100, 100), kGround);
    EXPECT_EQ(Screen().At(0, 0), kGround);
    EXPECT_GT(scene_.GetDisplayList().DirtyCount(), 0u);  // left for the next flush
}

TEST_F(Layers, AnimatedSpritesAlsoGoToTheApplicationsList) {
    gfx::Sprite& duck = MakeSprite(0, 0, 4, 4, kDuck, true);
    scene_.AddSpriteAnimated(duck, 4);  // no list yet: only the layers
    EXPECT_EQ(scene_.Sprites().Count(), 1);
    gfx::SpriteList animated;
    scene_.SetAnimationList(&animated);
    gfx::Sprite& other = MakeSprite(0, 0, 4, 4, kDuck, true);
    scene_.AddSpriteAnimated(other, 9);
    ASSERT_EQ(animated.Count(), 1);
    EXPECT_EQ(animated.Head()->sprite, &other);
    EXPECT_EQ(animated.Head()->layer, 0);
    EXPECT_EQ(other.layer, 9);
    scene_.RemoveSprite(other);
    EXPECT_EQ(scene_.Sprites().Count(), 1);
    EXPECT_EQ(animated.Count(), 1);  // the application's list is its own
    scene_.RemoveSpriteAnimated(other);
    EXPECT_EQ(animated.Count(), 0);
    scene_.RemoveSpriteAnimated(duck);  // never in the animated list
    EXPECT_EQ(scene_.Sprites().Count(), 0);
}

}  // namespace

namespace {

TEST_F(Layers, TheCheckCountsAFrameThatLeftAChangeOut) {
    gfx::Sprite& ground = MakeSprite(0, 0, 240, 320, kGround, false);
    scene_.AddSprite(ground, 0);
    scene_.Check().Start(scene_.GetDisplayList().GetDisplay());
    scene_.RedrawAll();
    EXPECT_EQ(scene_.Check().Differing(), 0u);
    Screen().Row(7)[9] = kDuck;  // drawn without a dirty rectangle
    scene_.RedrawDirty();
    EXPECT_EQ(scene_.Check().Differing(), 1u);
    scene_.Check().Stop();
}

}  // namespace
