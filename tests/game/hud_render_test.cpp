// The hunt screen's fixed parts drawn over the ground: each shows inside its
// own rectangle and nowhere else.
#include <vector>

#include "game/feather_bursts.h"
#include "game/hit_splashes.h"
#include "game/hunt_clock.h"
#include "game/scenery.h"
#include "game/score_board.h"
#include "game/shell_magazine.h"
#include "game/shot_puffs.h"
#include "tests/game/hud_fixture.h"

namespace {

class HudRenderTest : public hudtest::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        scene_.CreateTiles(gfx::GroundTileId);
    }
    void TearDown() override { scene_.DestroyTiles(); }

    std::vector<uint16_t> Panel() {
        scene_.RedrawScene();
        const uint16_t* panel = plat::testing::PresentedPanel();
        return {panel, panel + gfx::kScreenWidth * gfx::kScreenHeight};
    }
};

struct ScreenRect {
    int32_t x, y, w, h;
    bool Holds(int32_t px, int32_t py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

TEST_F(HudRenderTest, ShellsScoreAndClockShowInTheirCornersOnly) {
    const std::vector<uint16_t> ground = Panel();
    ShellMagazine magazine;
    ScoreBoard board;
    HuntClock clock;
    ASSERT_TRUE(magazine.init(212, 5, &scene_, 7));
    ASSERT_TRUE(board.init(3, 10, &scene_));
    ASSERT_TRUE(clock.init(3, 225, 180, &scene_));
    board.add(1234);
    for (int i = 0; i < 1234; ++i) board.tick();
    for (int i = 0; i < 3; ++i) {
        plat::testing::AdvanceTick(10);
        magazine.fire();
    }
    const std::vector<uint16_t> hunt = Panel();
    Shoot("hud_bottom_of_ground");

    const ScreenRect rects[] = {
        {212, 5, 26, 96},                          // shells
        {3, 10, 22, static_cast<int32_t>(board.field()->sprite.height)},
        {3, 225, 22, static_cast<int32_t>(clock.field()->sprite.height)},
        {224, 304, 16, 16},                        // clock icon
    };
    int changedInside[4] = {};
    for (int32_t y = 0; y < gfx::kScreenHeight; ++y) {
        for (int32_t x = 0; x < gfx::kScreenWidth; ++x) {
            const size_t i = static_cast<size_t>(y * gfx::kScreenWidth + x);
            if (hunt[i] == ground[i]) continue;
            for (size_t r = 0; r < 4; ++r) changedInside[r] += rects[r].Holds(x, y) ? 1 : 0;
            // The keyed blit also softens one pixel just past each run.
            bool near = false;
            for (const ScreenRect& r : rects) near = near || ScreenRect{r.x - 1, r.y - 1, r.w + 2, r.h + 2}.Holds(x, y);
            ASSERT_TRUE(near) << "changed pixel outside every part at " << x << ", " << y;
        }
    }
    for (size_t r = 0; r < 4; ++r) EXPECT_GT(changedInside[r], 20) << "part " << r << " does not show";

    // Hidden for the pause menu's screens, nothing of them is drawn.
    magazine.hide();
    board.hide();
    clock.hide();
    EXPECT_EQ(Panel(), ground);
    magazine.release();
    board.release();
    clock.release();
}

}  // namespace

namespace {

// A hunt left without its release (the program shut down during it, as tests
// do), then a new one on a new scene: nothing reaches back into the old one.
TEST(HudLifetime, ANewHuntOnANewSceneLeavesTheGoneOneAlone) {
    plat::testing::Reset();
    StripFont font;
    ASSERT_EQ(font.load(255, 22, 700, 48), 0);
    ShellMagazine magazine;
    Scenery scenery;
    ShotPuffs puffs;
    FeatherBursts feathers;
    HitSplashes splashes;
    ScoreBoard board;
    HuntClock clock;
    const auto hunt = [&](gfx::Scene& scene) {
        magazine.init(212, 5, &scene, 7);
        scenery.init(&scene);
        puffs.init(&scene);
        feathers.init(&scene);
        splashes.init(&scene, &font);
        board.init(3, 10, &scene);
        clock.init(3, 225, 180, &scene);
        puffs.add(100, 100);
        feathers.show(100, 400, 1);
        splashes.show(100, 400, 1, 10);
    };
    {
        gfx::Scene old(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
        hunt(old);
    }
    gfx::Scene scene(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
    hunt(scene);
    // The strip, the 25 pieces, a puff, a burst, a duck and its label, the
    // score, the clock's text and icon.
    EXPECT_EQ(scene.Sprites().Count(), 1 + Scenery::kPieces + 1 + 1 + 2 + 1 + 2);
    magazine.release();
    scenery.release();
    puffs.release();
    feathers.release();
    splashes.release();
    board.release();
    clock.release();
    EXPECT_EQ(scene.Sprites().Count(), 0);
}

}  // namespace
