#include "graphics/scene.h"

#include <gtest/gtest.h>

#include "tests/graphics/frame_fixture.h"

namespace {

using gfxtest::FrameTest;

class SceneTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        scene_.CreateTiles(gfx::GroundTileId);
        for (int r = 0; r < 3; ++r) gfx::LoadPicture(tiles_[r], static_cast<uint16_t>(148 - r), 240, 320);
    }

    // Every panel row y shows row `row` of tile `tile`.
    void ExpectPanelRow(int32_t y, int tile, int32_t row) {
        const gfx::Surface& t = *tiles_[tile].surface;
        for (int32_t x = 0; x < 240; x += 7) ASSERT_EQ(Panel(x, y), t.At(x, row)) << "panel row " << y;
    }

    gfx::Picture tiles_[3];
};

TEST_F(SceneTest, TilesArePlacedByTheScroll) {
    ASSERT_EQ(gfx::GroundTileId(0, 0), 148);
    ASSERT_EQ(gfx::GroundTileId(0, 2), 146);

    scene_.SetScroll(0, 0);
    scene_.RedrawScene();
    ExpectPanelRow(0, 0, 0);
    ExpectPanelRow(319, 0, 319);

    scene_.SetScroll(0, 639);
    scene_.RedrawScene();
    ExpectPanelRow(0, 1, 319);  // one line of the middle tile
    ExpectPanelRow(1, 2, 0);
    ExpectPanelRow(319, 2, 318);

    scene_.SetScroll(0, 330);
    scene_.RedrawScene();
    ExpectPanelRow(0, 1, 10);
    ExpectPanelRow(309, 1, 319);
    ExpectPanelRow(310, 2, 0);
}

TEST_F(SceneTest, SpritesFollowTheScroll) {
    gfx::Sprite& duck = MakeSprite(20, 150, 4, 4, 0xF800, true);
    scene_.AddSprite(duck, 3);
    scene_.SetScroll(0, 100);
    EXPECT_EQ(scene_.GetScrollY(), 100);
    EXPECT_EQ(scene_.GetDisplayList().ViewY(), 100);
    scene_.RedrawScene();
    EXPECT_EQ(Panel(20, 50), 0xF800);
    EXPECT_EQ(Panel(20, 49), tiles_[0].surface->At(20, 149));

    scene_.ScrollBy(0, 10);
    scene_.ScrollBy(0, 10);
    EXPECT_EQ(scene_.GetScrollY(), 120);
    EXPECT_EQ(scene_.GetDisplayList().ViewY(), 120);
    scene_.RedrawScene();
    EXPECT_EQ(Panel(20, 30), 0xF800);
    ExpectPanelRow(0, 0, 120);
}

TEST_F(SceneTest, ScrollPastTheStripDrawsWhatExists) {
    // The second visible row would be below the last tile: skipped, not read.
    scene_.SetScroll(0, 700);
    scene_.RedrawScene();
    ExpectPanelRow(0, 2, 60);
    ExpectPanelRow(259, 2, 319);
    scene_.SetScroll(0, -50);
    scene_.RedrawScene();
    ExpectPanelRow(50, 0, 0);
}

}  // namespace
