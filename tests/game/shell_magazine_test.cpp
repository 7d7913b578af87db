// The shell strip: a frame per shot, reloads, the empty-gun blink and its
// wrap-safe timer, and its place on the screen.
#include "game/shell_magazine.h"

#include "tests/game/hud_fixture.h"

namespace {

class ShellMagazineTest : public hudtest::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        ASSERT_TRUE(magazine_.init(212, 5, &scene_, 7));
    }
    void TearDown() override { magazine_.release(); }

    int32_t Frame() const { return magazine_.sprite().Sequence().Index(); }
    void Empty() {
        for (int i = 0; i < 7; ++i) {
            plat::testing::AdvanceTick(10);
            magazine_.fire();
        }
    }

    ShellMagazine magazine_;
};

// Each shot shows the next frame until the gun is empty; a reload fills it;
// the strip keeps its place on the screen through scrolls and pauses.
TEST_F(ShellMagazineTest, EachShotShowsTheNextFrameAndTheStripStaysOnTheScreen) {
    EXPECT_EQ(magazine_.sprite().y, kStartScroll + 5);
    for (int shot = 1; shot <= 8; ++shot) {
        EXPECT_EQ(magazine_.isLoaded(), shot <= 7);
        plat::testing::AdvanceTick(10);
        magazine_.fire();
        EXPECT_EQ(magazine_.shells(), std::max(0, 7 - shot));
        EXPECT_EQ(Frame(), std::min(shot, 7));
    }
    EXPECT_FALSE(magazine_.isLoaded());
    for (int i = 0; i < 2; ++i) {  // a full magazine stays full
        magazine_.reload();
        EXPECT_EQ(magazine_.shells(), 7);
        EXPECT_EQ(Frame(), 0);
    }
    scene_.ScrollBy(0, -10);
    magazine_.reposition();
    magazine_.hide();
    EXPECT_FALSE(InScene(magazine_.sprite()));
    scene_.SetScroll(0, 0);  // another screen's scroll while paused
    magazine_.show();
    magazine_.show();
    EXPECT_EQ(scene_.Sprites().Count(), 1);
    EXPECT_EQ(magazine_.sprite().layer, ShellMagazine::kLayer);
    EXPECT_EQ(magazine_.sprite().y, kStartScroll - 10 + 5);
    magazine_.release();
    EXPECT_EQ(scene_.Sprites().Count(), 0);
    magazine_.fire();  // nothing left to touch
    magazine_.blink(plat::GetTickCount() + 1000);
}

TEST_F(ShellMagazineTest, TheEmptyStripBlinksEvery140MsAcrossTheTickWrap) {
    uint32_t now = plat::GetTickCount();
    magazine_.resetBlink(now);
    magazine_.blink(now + 500);  // loaded: no blink
    EXPECT_EQ(Frame(), 0);
    Empty();
    magazine_.resetBlink(now);
    magazine_.blink(now + 140);
    EXPECT_EQ(Frame(), 7);
    magazine_.blink(now + 141);
    EXPECT_EQ(Frame(), 8);
    magazine_.blink(now + 282);
    EXPECT_EQ(Frame(), 7);
    magazine_.blink(now + 423);
    EXPECT_EQ(Frame(), 8);

    // Just before the counter wraps, and past it.
    now = 0xFFFFFFA0u;
    magazine_.resetBlink(now);
    magazine_.blink(0xFFFFFFF0u);  // 80 ms later
    EXPECT_EQ(Frame(), 8);
    magazine_.blink(0x20u);  // 0x80 ms later: not yet
    EXPECT_EQ(Frame(), 8);
    magazine_.blink(0x40u);  // 0xA0 = 160 ms later
    EXPECT_EQ(Frame(), 7);
}

}  // namespace
