// The how-to-play pages: turning at both ends, the half-blended turn, and
// the buttons out of the screen.
#include "screens/how_to_play_view.h"

#include "tests/screens/screen_fixture.h"

namespace {

class HowToPlayTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const uint8_t id : {kViewMainMenu, kViewCredits, kViewAbout}) Stand(id);
        Install(help, kViewHowToPlay);
        Views().Start(kViewMainMenu);
        Views().SwitchTo(kViewHowToPlay, true);
        Scene().ClearSprites();
        help.Enter();
        Send(&help, kEventViewEntered);
        ForgetSounds();
    }
    void TearDown() override {
        help.Leave();
        ScreenTest::TearDown();
    }
    void Next() { EXPECT_EQ(Tap(&help, 155, 28), kConsumed); }
    void Previous() { EXPECT_EQ(Tap(&help, 40, 28), kConsumed); }
    static bool ShowsPage(uint16_t id) { return Shows(id, 118, 216, 62, 62, 4); }

    HowToPlayView help;
};

TEST_F(HowToPlayTest, PagesTurnInTwoStepsAndStopAtBothEnds) {
    EXPECT_TRUE(ShowsPage(401));
    Previous();  // at the first page: only the click
    EXPECT_EQ(help.PageId(), 401);
    EXPECT_EQ(Sounds(), Strings{"540"});

    const uint32_t before = plat::GetTickCount();
    const uint32_t presents = plat::testing::PresentCount();
    Next();
    EXPECT_GE(plat::GetTickCount() - before, HowToPlayView::kTurnMs);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 4);  // button down and up, half page, whole page
    EXPECT_EQ(help.PageId(), 402);
    EXPECT_FALSE(help.Page().blend);
    EXPECT_TRUE(ShowsPage(402));
    EXPECT_EQ(Sounds(), (Strings{"540", "578"}));

    for (int i = 0; i < 6; ++i) Next();
    EXPECT_EQ(help.PageId(), 406);
    ForgetSounds();
    Next();
    EXPECT_EQ(help.PageId(), 406);
    EXPECT_EQ(Sounds(), Strings{"540"});
    Previous();
    EXPECT_TRUE(ShowsPage(405));
}

// The buttons' ways out are walked by the end-to-end screens tour.
TEST_F(HowToPlayTest, EscapePressesOkAndEveryVisitStartsAtTheFirstPageLeavingNothingBehind) {
    Next();
    Char(&help, kCharEscape);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Sounds().back(), "540");
    help.Leave();
    EXPECT_EQ(Scene().Sprites().Count(), 0u);
    EXPECT_EQ(help.ControlCount(), 0);
    help.Enter();
    EXPECT_EQ(help.PageId(), 401);
    EXPECT_EQ(help.ControlCount(), HowToPlayView::kButtons);
    EXPECT_EQ(Scene().Sprites().Count(), 6u);
}

}  // namespace
