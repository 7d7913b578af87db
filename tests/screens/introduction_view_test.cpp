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
        presents = plat::testing::PresentCount();
    }
    void TearDown() override {
        intro.Leave();
        ScreenTest::TearDown();
    }
    // An idle event at `tick`; true when it presented something.
    bool IdleAt(uint32_t tick) {
        plat::testing::SetTick(tick);
        InputEvent idle = Event(kEventIdle);
        EXPECT_EQ(intro.HandleEvent(idle), kConsumed);
        const bool presented = plat::testing::PresentCount() != presents;
        presents = plat::testing::PresentCount();
        return presented;
    }
    void Tap(int16_t x, int16_t y) {
        InputEvent down = Event(kEventPenDown, x, y);
        intro.HandleEvent(down);
    }

    IntroductionView intro;
    uint32_t presents = 0;
};

TEST_F(IntroductionTest, RequestForTwoSecondsThenTenFadeStepsAndTwentyFourTurnsThenTheTitle) {
    ASSERT_TRUE(IdleAt(10000));
    gfx::Picture request;
    gfx::LoadPicture(request, 351, 220, 212);
    EXPECT_EQ(Pixel(10 + 110, 53 + 106), request.surface->At(110, 106));
    EXPECT_FALSE(IdleAt(11999));
    // Black at two seconds, then the fade.
    ASSERT_TRUE(IdleAt(12000));
    EXPECT_EQ(Pixel(120, 160), 0);
    // The first fade step comes with the next event, the others 71 ms apart.
    uint32_t tick = 12001;
    ASSERT_TRUE(IdleAt(tick));
    int fades = 1;
    while (intro.LogoAlpha() <= 1.0f && fades < 20) {
        EXPECT_FALSE(IdleAt(tick += 70));
        ASSERT_TRUE(IdleAt(tick += 1));
        ++fades;
    }
    EXPECT_EQ(fades, 10);
    EXPECT_GT(intro.LogoAlpha(), 1.0f);
    // The logo built up: its middle is no longer black.
    EXPECT_NE(Pixel(120, 160), 0);

    ASSERT_TRUE(IdleAt(tick += 1));
    int turns = 1;
    while (intro.Angle() < 184.0 && turns < 40) {
        EXPECT_FALSE(IdleAt(tick += 50));
        ASSERT_TRUE(IdleAt(tick += 1));
        ++turns;
    }
    EXPECT_EQ(turns, 24);
    EXPECT_EQ(intro.Angle(), 186.0);
    EXPECT_NE(Views().Next(), kViewTitle);
    IdleAt(tick += 1);
    EXPECT_EQ(Views().Next(), kViewTitle);
    EXPECT_EQ(Views().Depth(), 0);  // the title does not lead back here
}

TEST_F(IntroductionTest, EscapeWithinTwoSecondsSkipsAsTheButtonDoes) {
    IdleAt(10000);
    plat::testing::SetTick(11000);
    Tap(100, 100);  // not on the button
    EXPECT_NE(Views().Next(), kViewTitle);
    InputEvent escape = Event(kEventCharacter);
    escape.payload[0] = kCharEscape;
    intro.HandleEvent(escape);
    EXPECT_EQ(Views().Next(), kViewTitle);
}

TEST_F(IntroductionTest, SkipAfterTwoSecondsHasNoEffect) {
    IdleAt(10000);
    IdleAt(12000);
    plat::testing::SetTick(12100);
    Tap(200, 310);
    EXPECT_NE(Views().Next(), kViewTitle);
    EXPECT_GT(intro.LogoAlpha(), 0.0f);  // the tap was an ordinary fade step
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
