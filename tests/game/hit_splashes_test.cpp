// A shot duck's fall and its points label: their looks and places, their
// steps, leaving together, and their life in the scene and animation list.
#include "game/hit_splashes.h"

#include "tests/game/hud_fixture.h"

namespace {

class HitSplashesTest : public hudtest::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        ASSERT_EQ(font_.load(255, 22, 700, 48), 0);
        ASSERT_EQ(splashes_.init(&scene_, &font_), 0);
    }
    void TearDown() override {
        splashes_.release();
        EXPECT_EQ(animations_.Count(), 0);
        EXPECT_EQ(scene_.Sprites().Count(), 0);
    }

    // One event every 51 ms: each path takes one step per event.
    void Event() {
        Step(51);
        splashes_.update();
    }

    StripFont font_;
    HitSplashes splashes_;
};

// Big and small ducks fall on their own layers under labels as long as
// their digits; the duck drops as the label rises and both leave when the
// label arrives.
TEST_F(HitSplashesTest, TheDuckDropsAsTheLabelRisesAndBothLeaveTogether) {
    splashes_.show(100, 400, 2, 10);
    splashes_.show(60, 500, 3, 25);
    ASSERT_EQ(splashes_.count(), 2);
    const auto digits = [this](int a, int b) {
        return static_cast<uint32_t>(font_.glyph(static_cast<uint8_t>(a)).width + font_.glyph(static_cast<uint8_t>(b)).width);
    };
    const HitSplashes::Splash& big = splashes_.at(0);
    const HitSplashes::Splash& small = splashes_.at(1);
    EXPECT_EQ(big.faller.layer, 130);
    EXPECT_EQ(small.faller.layer, 50);
    EXPECT_EQ(big.label.sprite.height, digits(1, 0));
    EXPECT_EQ(small.label.sprite.height, digits(2, 5));
    EXPECT_EQ(animations_.Count(), 2);  // the fallers animate; the labels do not
    EXPECT_EQ(scene_.Sprites().Count(), 4);
    Step(50);
    splashes_.update();  // 50 ms is not yet a step
    EXPECT_EQ(big.faller.x, 100);
    Event();
    EXPECT_EQ(big.faller.x, 104);  // the fall starts 3 pixels further on
    EXPECT_EQ(big.label.sprite.x, 96);
    EXPECT_EQ(big.faller.y, 400);
    int events = 1;
    for (; splashes_.count() > 0 && events < 100; ++events) Event();
    // Seven steps take the label within 5 pixels of its goal, 12 away; the
    // next event sees it there and both go.
    EXPECT_EQ(events, 8);
    EXPECT_EQ(scene_.Sprites().Count() + animations_.Count(), 0);
}

// The table holds 35 and frees places for new ones; hidden splashes leave
// the scene and come back to end their fall; release frees running ones and
// reports a second release.
TEST_F(HitSplashesTest, TheTableHidingAndRelease) {
    for (int i = 0; i < 36; ++i) splashes_.show(10 + i, 300, 4, 25);
    EXPECT_EQ(splashes_.count(), HitSplashes::kMaxSplashes);
    EXPECT_EQ(animations_.Count(), HitSplashes::kMaxSplashes);
    for (int i = 0; i < 10; ++i) Event();
    EXPECT_EQ(splashes_.count(), 0);
    splashes_.show(100, 400, 1, 10);
    splashes_.show(120, 420, 4, 25);
    Event();
    splashes_.hide();
    EXPECT_EQ(scene_.Sprites().Count() + animations_.Count(), 0);
    animations_.Clear();  // the screens in between empty the list
    splashes_.show();
    splashes_.show();
    EXPECT_EQ(scene_.Sprites().Count(), 4);
    EXPECT_EQ(animations_.Count(), 2);
    EXPECT_EQ(splashes_.at(1).faller.layer, 50);
    EXPECT_EQ(splashes_.release(), 0);
    EXPECT_EQ(scene_.Sprites().Count() + animations_.Count(), 0);
    EXPECT_EQ(splashes_.release(), HitSplashes::kAlreadyReleased);
    splashes_.show(100, 400, 1, 10);  // not set up: nothing
    EXPECT_EQ(splashes_.count(), 0);
}

TEST_F(HitSplashesTest, ADeadDuckAndItsPointsOnScreen) {
    scene_.CreateTiles(gfx::GroundTileId);
    splashes_.show(60, kStartScroll + 150, 1, 25);
    splashes_.show(140, kStartScroll + 60, 4, 10);
    for (int i = 0; i < 3; ++i) Event();
    scene_.RedrawScene();
    Shoot("hit_splashes");
    // The label's digits are drawn over the ground where the label stands.
    const HitSplashes::Splash& s = splashes_.at(0);
    const gfx::Surface& label = *s.label.sprite.image->surface;
    int ink = 0;
    for (uint32_t row = 0; row < s.label.sprite.height; ++row) {
        for (uint32_t col = 0; col < s.label.sprite.width; ++col) {
            if (label.At(static_cast<int32_t>(col), static_cast<int32_t>(row)) == s.label.sprite.key) continue;
            const int32_t x = s.label.sprite.x + static_cast<int32_t>(col);
            const int32_t y = s.label.sprite.y - kStartScroll + static_cast<int32_t>(row);
            ink += plat::testing::PresentedPanel()[y * gfx::kScreenWidth + x] ==
                           label.At(static_cast<int32_t>(col), static_cast<int32_t>(row))
                       ? 1
                       : 0;
        }
    }
    EXPECT_GT(ink, 30);
    scene_.DestroyTiles();
}

}  // namespace
