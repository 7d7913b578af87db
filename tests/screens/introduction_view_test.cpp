// The introduction: request, skip, fade, turn, and the way to the title.
#include "screens/introduction_view.h"

#include "tests/screens/screen_fixture.h"

namespace {

class IntroductionTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Stand(kViewTitle);
        Install(intro, kViewIntroduction);
        Scene().ClearSprites();  // the program's own first screen leaves the scene to this one
        intro.Enter();
    }
    void TearDown() override {
        intro.Leave();
        ScreenTest::TearDown();
    }
    // An idle event at `tick`; true when it presented something.
    bool IdleAt(uint32_t tick) {
        const uint32_t presents = plat::testing::PresentCount();
        plat::testing::SetTick(tick);
        EXPECT_EQ(Send(&intro, kEventIdle), kConsumed);
        return plat::testing::PresentCount() != presents;
    }

    IntroductionView intro;
};

TEST_F(IntroductionTest, RequestForTwoSecondsThenTenFadeStepsAndTwentyFourTurnsThenTheTitle) {
    ASSERT_TRUE(IdleAt(10000));
    EXPECT_TRUE(Shows(351, 220, 212, 10, 53, 5));
    EXPECT_FALSE(IdleAt(11999));
    ASSERT_TRUE(IdleAt(12000));  // black at two seconds, then the fade
    EXPECT_EQ(Pixel(120, 160), 0);
    // The first fade step comes with the next event, the others 71 ms apart.
    uint32_t tick = 12001;
    ASSERT_TRUE(IdleAt(tick));
    int fades = 1;
    for (; intro.LogoAlpha() <= 1.0f && fades < 20; ++fades) {
        EXPECT_FALSE(IdleAt(tick += 70));
        ASSERT_TRUE(IdleAt(tick += 1));
    }
    EXPECT_EQ(fades, 10);
    EXPECT_NE(Pixel(120, 160), 0);  // the logo built up

    ASSERT_TRUE(IdleAt(tick += 1));
    int turns = 1;
    for (; intro.Angle() < 184.0 && turns < 40; ++turns) {
        EXPECT_FALSE(IdleAt(tick += 50));
        ASSERT_TRUE(IdleAt(tick += 1));
    }
    EXPECT_EQ(turns, 24);
    EXPECT_EQ(intro.Angle(), 186.0);
    EXPECT_NE(Views().Next(), kViewTitle);
    IdleAt(tick += 1);
    EXPECT_EQ(Views().Next(), kViewTitle);
    EXPECT_EQ(Views().Depth(), 0);  // the title does not lead back here
}

// Escape within two seconds skips as the button does; a tap on it after them is a fade step.
TEST_F(IntroductionTest, SkipWorksOnlyWithinTwoSeconds) {
    IdleAt(10000);
    plat::testing::SetTick(11000);
    Send(&intro, kEventPenDown, 100, 100);  // not on the button
    EXPECT_NE(Views().Next(), kViewTitle);
    Char(&intro, kCharEscape);
    EXPECT_EQ(Views().Next(), kViewTitle);
    TearDown();
    SetUp();  // a fresh introduction
    IdleAt(10000);
    IdleAt(12000);
    plat::testing::SetTick(12100);
    Send(&intro, kEventPenDown, 200, 310);  // the skip button: only a fade step now
    EXPECT_NE(Views().Next(), kViewTitle);
    EXPECT_GT(intro.LogoAlpha(), 0.0f);
}

TEST_F(IntroductionTest, LeavingTakesTheSkipButtonOffTheSceneBeforeFreeingIt) {
    EXPECT_EQ(Scene().Sprites().Count(), 1u);
    intro.Leave();
    EXPECT_EQ(Scene().Sprites().Count(), 0u);
    EXPECT_EQ(intro.ControlCount(), 0);
    Scene().RedrawAll();  // nothing left that points at the freed button
    intro.Enter();        // for TearDown's Leave
}

}  // namespace
