#include "game/target.h"

#include <gtest/gtest.h>

#include "graphics/scene.h"
#include "platform/testing.h"

namespace {

class TargetTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        plat::testing::SetTick(1000);
        bigDown_.LoadFrames(163, 170, 68, 68);
    }

    // The first pixel of the current frame that is (or is not) the key colour.
    static bool FindPixel(const Target& t, bool keyed, int32_t& col, int32_t& row) {
        const gfx::Surface& s = *t.sprite().image->surface;
        for (row = 0; row < static_cast<int32_t>(s.height); ++row) {
            for (col = 0; col < static_cast<int32_t>(s.width); ++col) {
                if ((s.At(col, row) == t.sprite().key) == keyed) return true;
            }
        }
        return false;
    }

    FrameSet bigDown_;
    gfx::Scene scene_{1, 3, 240, 320};
};

TEST_F(TargetTest, HitTestTellsTheBirdFromItsTransparentBoxAndTheOutside) {
    Target t;
    ASSERT_TRUE(t.init(100, 700, bigDown_, 80, 1, 90));
    EXPECT_EQ(t.sprite().key, t.sprite().image->surface->At(0, 0));
    const int32_t scrollY = 639;
    const int32_t left = 100;
    const int32_t top = 700 - scrollY;
    EXPECT_EQ(t.hitTest(left, top, 0, scrollY), kHitTransparent);  // pixel (0, 0)
    EXPECT_EQ(t.hitTest(left + 68, top, 0, scrollY), kHitOutside);
    EXPECT_EQ(t.hitTest(left, top + 68, 0, scrollY), kHitOutside);
    EXPECT_EQ(t.hitTest(left - 1, top, 0, scrollY), kHitOutside);
    EXPECT_EQ(t.hitTest(left + 67, top + 67, 0, 0), kHitOutside);  // not scrolled: the box is far below
    int32_t col = 0;
    int32_t row = 0;
    ASSERT_TRUE(FindPixel(t, false, col, row));
    EXPECT_EQ(t.hitTest(left + col, top + row, 0, scrollY), kHitOpaque);
    ASSERT_TRUE(FindPixel(t, true, col, row));
    EXPECT_EQ(t.hitTest(left + col, top + row, 0, scrollY), kHitTransparent);
    t.release();
}

// A target moves only after more than its interval, across the tick's wrap
// too; it finishes when its path ends and never without one.
TEST_F(TargetTest, MovesAfterItsIntervalAndFinishesWhenItsPathEnds) {
    Target t;
    plat::testing::SetTick(0xFFFFFF00u);
    ASSERT_TRUE(t.init(0, 0, bigDown_, 80, 1, 90));
    t.setPath(kPathLine, {0, 0, 0, 900, 2, 0, 0, 0});
    scene_.AddSpriteAnimated(t.sprite(), 130);
    for (const auto& [after, y] : {std::pair{90u, 0}, {91u, 2}, {91u, 2}, {182u, 4}}) {  // 182: wrapped to 26
        plat::testing::SetTick(0xFFFFFF00u + after);
        t.update(scene_);
        EXPECT_EQ(t.sprite().y, y) << after;
    }
    scene_.RemoveSpriteAnimated(t.sprite());

    ASSERT_TRUE(t.init(10, 10, bigDown_, 80, 1, 0));
    t.setPath(kPathLine, {10, 10, 10, 40, 15, 0, 0, 0});
    uint32_t tick = 1000;
    int moves = 0;
    while (!t.finished() && moves < 10) {
        plat::testing::SetTick(++tick);
        t.update(scene_);
        ++moves;
    }
    EXPECT_TRUE(t.finished());
    EXPECT_EQ(t.sprite().y, 40);  // two moves of 15, then the update that notices
    EXPECT_EQ(moves, 3);

    for (const int32_t variant : {0, 7}) {
        ASSERT_TRUE(t.init(10, 10, bigDown_, 80, 1, 0));
        EXPECT_FALSE(t.finished());
        t.setPath(variant, {10, 10, 10, 40, 15, 0, 0, 0});
        for (int i = 0; i < 5; ++i) {
            plat::testing::SetTick(++tick);
            t.update(scene_);
        }
        EXPECT_FALSE(t.finished());
        EXPECT_EQ(t.sprite().y, 10);
    }
    t.release();
}

}  // namespace
