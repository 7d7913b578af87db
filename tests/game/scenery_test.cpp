// The still pictures of the ground and the bonus spot's once-per-hunt life.
#include "game/scenery.h"

#include "tests/game/hud_fixture.h"

namespace {

using SceneryTest = hudtest::HudTest;

TEST_F(SceneryTest, EveryPieceStandsAtItsWorldPlaceAndLayer) {
    Scenery scenery;
    ASSERT_EQ(scenery.init(&scene_), 0);
    EXPECT_EQ(scene_.Sprites().Count(), Scenery::kPieces);
    EXPECT_EQ(scenery.piece(7).layer, 120);  // the reeds in front of the small ducks
    const gfx::Sprite& spot = scenery.bonusSpot();
    EXPECT_EQ(spot.x, 165);
    EXPECT_EQ(spot.y, 914);
    EXPECT_EQ(spot.layer, 101);
    for (int i = 0; i < Scenery::kPieces; ++i) {
        const gfx::Sprite& piece = scenery.piece(i);
        EXPECT_FALSE(piece.savesBackground) << i;
        ASSERT_NE(piece.image, nullptr) << i;
        EXPECT_EQ(piece.key, piece.image->surface->At(0, 0)) << i;
    }
    EXPECT_EQ(scenery.release(), 0);
    EXPECT_EQ(scene_.Sprites().Count(), 0);
}

TEST_F(SceneryTest, ATakenSpotStaysAwayThroughPausesUntilTheNextHunt) {
    Scenery scenery;
    scenery.init(&scene_);
    scenery.bonusTaken = true;
    scenery.takeBonus();
    EXPECT_FALSE(InScene(scenery.bonusSpot()));
    EXPECT_NE(scenery.bonusSpot().image, nullptr);  // still allocated
    scenery.hide();
    EXPECT_EQ(scene_.Sprites().Count(), 0);
    scenery.show();
    EXPECT_EQ(scene_.Sprites().Count(), Scenery::kPieces - 1);
    EXPECT_FALSE(InScene(scenery.bonusSpot()));
    scenery.show();  // twice puts nothing in twice
    EXPECT_EQ(scene_.Sprites().Count(), Scenery::kPieces - 1);

    scenery.release();
    scenery.init(&scene_);
    EXPECT_FALSE(scenery.bonusTaken);
    EXPECT_TRUE(InScene(scenery.bonusSpot()));
    scenery.release();
}

}  // namespace
