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

TEST_F(ShellMagazineTest, EachShotShowsTheNextFrameUntilTheGunIsEmpty) {
    EXPECT_EQ(magazine_.shells(), 7);
    EXPECT_TRUE(magazine_.isLoaded());
    EXPECT_EQ(magazine_.sprite().x, 212);
    EXPECT_EQ(magazine_.sprite().y, kStartScroll + 5);
    EXPECT_EQ(magazine_.sprite().layer, ShellMagazine::kLayer);
    EXPECT_TRUE(InScene(magazine_.sprite()));
    for (int shot = 1; shot <= 7; ++shot) {
        plat::testing::AdvanceTick(10);
        magazine_.fire();
        EXPECT_EQ(magazine_.shells(), 7 - shot);
        EXPECT_EQ(Frame(), shot);
    }
    EXPECT_FALSE(magazine_.isLoaded());
    plat::testing::AdvanceTick(10);
    magazine_.fire();
    EXPECT_EQ(magazine_.shells(), 0);
    EXPECT_EQ(Frame(), 7);
    magazine_.reload();
    EXPECT_EQ(magazine_.shells(), 7);
    EXPECT_EQ(Frame(), 0);
    magazine_.reload();  // a full magazine stays full
    EXPECT_EQ(magazine_.shells(), 7);
    EXPECT_EQ(Frame(), 0);
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

TEST_F(ShellMagazineTest, StaysOnTheScreenThroughScrollsAndPauses) {
    scene_.ScrollBy(0, -10);
    magazine_.reposition();
    EXPECT_EQ(magazine_.sprite().y, kStartScroll - 10 + 5);
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
    EXPECT_EQ(magazine_.sprite().image, nullptr);
    magazine_.fire();  // nothing left to touch
    magazine_.blink(plat::GetTickCount() + 1000);
}

}  // namespace
