// The feather bursts and shot puffs: their limits and places, and their life
// in the scene and the animation list, through pauses too.
#include "game/feather_bursts.h"
#include "game/score_board.h"
#include "game/shot_puffs.h"
#include "tests/game/hud_fixture.h"

namespace {

class EffectsTest : public hudtest::HudTest {
protected:
    void TearDown() override {
        puffs_.release();
        feathers_.release();
        EXPECT_EQ(animations_.Count(), 0);
        EXPECT_EQ(scene_.Sprites().Count(), 0);
    }

    // Steps the animations and cleans up, as the events of a hunt do.
    void Run(uint32_t ms) {
        for (uint32_t t = 0; t < ms; t += 10) {
            Step(10);
            puffs_.update();
            feathers_.update();
        }
    }

    ShotPuffs puffs_;
    FeatherBursts feathers_;
};

TEST_F(EffectsTest, PuffsSitOnTheTapBurstsByTheDuckAndTheTablesHaveTheirLimits) {
    puffs_.init(&scene_);
    puffs_.add(100, 50);  // a tap on the screen, not in the world
    EXPECT_EQ(puffs_.puffs().at(0).x, 100 - 14);
    EXPECT_EQ(puffs_.puffs().at(0).y, kStartScroll + 50 - 15);
    for (int i = 1; i < 30; ++i) puffs_.add(i, 100);
    EXPECT_EQ(puffs_.puffs().count(), ShotPuffs::kMaxPuffs);

    feathers_.init(&scene_);
    feathers_.show(100, 400, 1);
    feathers_.show(50, 300, 4);
    feathers_.show(70, 200, 2);  // a third while two run
    ASSERT_EQ(feathers_.bursts().count(), 2);
    const AnimatedSprite& big = feathers_.bursts().at(0);
    EXPECT_EQ(big.y, 400 - 25);
    EXPECT_EQ(big.width, 70u);
    EXPECT_EQ(big.layer, 131);
    const AnimatedSprite& small = feathers_.bursts().at(1);
    EXPECT_EQ(small.x, 50 - 4);
    EXPECT_EQ(small.width, 36u);
    EXPECT_EQ(small.layer, 51);
    EXPECT_EQ(animations_.Count(), ShotPuffs::kMaxPuffs + 2);
}

// An effect leaves scene and animation list after its last frame and its
// place takes the next; hidden, effects wait outside the scene (the screens
// in between step nothing of the hunt) and run on when shown.
TEST_F(EffectsTest, EffectsEndAfterTheirLastFrameAndWaitWhileHidden) {
    puffs_.init(&scene_);
    feathers_.init(&scene_);
    puffs_.add(100, 50);          // 5 frames of 75 ms
    feathers_.show(100, 400, 1);  // 7 frames of 75 ms
    Run(100);
    const int32_t frame = puffs_.puffs().at(0).Sequence().Index();
    puffs_.hide();
    feathers_.hide();
    EXPECT_EQ(scene_.Sprites().Count() + animations_.Count(), 0);
    animations_.Clear();
    Step(5000);
    EXPECT_EQ(puffs_.puffs().at(0).Sequence().Index(), frame);
    puffs_.show();
    feathers_.show();
    puffs_.show();
    EXPECT_EQ(animations_.Count(), 2);
    EXPECT_EQ(scene_.Sprites().Count(), 2);
    Run(250);
    EXPECT_EQ(puffs_.puffs().count(), 0);
    EXPECT_EQ(feathers_.bursts().count(), 1);
    EXPECT_EQ(animations_.Count(), 1);
    Run(200);
    EXPECT_EQ(feathers_.bursts().count(), 0);
    EXPECT_EQ(scene_.Sprites().Count() + animations_.Count(), 0);
    feathers_.show(10, 400, 4);
    feathers_.show(10, 400, 4);
    EXPECT_EQ(feathers_.bursts().count(), 2);
    // Release takes running effects out of the animation list (TearDown
    // checks); a second hunt starts from empty tables.
    for (int i = 0; i < 5; ++i) puffs_.add(10 * i, 50);
    puffs_.release();
    puffs_.init(&scene_);
    EXPECT_EQ(puffs_.puffs().count(), 0);
    EXPECT_EQ(animations_.Count(), 2);
}

TEST_F(EffectsTest, AnEndingPuffLeavesTheScoreOnTheScreen) {
    puffs_.init(&scene_);
    ScoreBoard board;
    ASSERT_TRUE(board.init(3, 10, &scene_));
    puffs_.add(100, 200);
    scene_.RedrawAll();
    const auto scoreShows = [] {
        int ink = 0;
        for (int32_t y = 10; y < 20; ++y) {
            for (int32_t x = 3; x < 25; ++x) ink += plat::testing::PresentedPanel()[y * gfx::kScreenWidth + x] != 0;
        }
        return ink > 0;
    };
    ASSERT_TRUE(scoreShows());
    Run(400);  // the puff's last frame is redrawn in full, then it goes
    EXPECT_EQ(puffs_.puffs().count(), 0);
    EXPECT_TRUE(scoreShows());
    board.release();
}

}  // namespace
