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

// Panel rows show tile rows by the scroll; a row below the last tile is
// skipped, not read.
TEST_F(SceneTest, TilesArePlacedByTheScroll) {
    ASSERT_EQ(gfx::GroundTileId(0, 0), 148);
    ASSERT_EQ(gfx::GroundTileId(0, 2), 146);
    const struct {
        int32_t scroll;
        int32_t rows[3][3];  // panel row, tile, tile row
    } cases[] = {
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
        for (const auto& r : c.rows) ExpectPanelRow(r[0], r[1], r[2]);
    }
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

}  // namespace
