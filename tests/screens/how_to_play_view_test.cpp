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
        InputEvent entered = Event(kEventViewEntered);
        help.HandleEvent(entered);
        ForgetSounds();
    }
    void TearDown() override {
        help.Leave();
        ScreenTest::TearDown();
    }
    void Tap(int16_t x, int16_t y) {
        InputEvent down = Event(kEventPenDown, x, y);
        EXPECT_EQ(help.HandleEvent(down), kConsumed);
        InputEvent up = Event(kEventPenUp, x, y);
        EXPECT_EQ(help.HandleEvent(up), kConsumed);
    }
    void Next() { Tap(155, 28); }
    void Previous() { Tap(40, 28); }
    // Whether the panel shows page `id` in the page area.
    static bool Shows(uint16_t id) {
        gfx::Picture page;
        gfx::LoadPicture(page, id, 118, 216);
        for (int32_t y = 0; y < 216; y += 5) {
            for (int32_t x = 0; x < 118; x += 3) {
                if (Pixel(62 + x, 62 + y) != page.surface->At(x, y)) return false;
            }
        }
        return true;
    }

    HowToPlayView help;
};

TEST_F(HowToPlayTest, PagesTurnInTwoStepsAndStopAtBothEnds) {
    EXPECT_TRUE(Shows(401));
    Previous();  // at the first page: only the click
    EXPECT_EQ(help.PageId(), 401);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});

    const uint32_t before = plat::GetTickCount();
    const uint32_t presents = plat::testing::PresentCount();
    Next();
    EXPECT_GE(plat::GetTickCount() - before, HowToPlayView::kTurnMs);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 4);  // button down and up, half page, whole page
    EXPECT_EQ(help.PageId(), 402);
    EXPECT_FALSE(help.Page().blend);
    EXPECT_TRUE(Shows(402));
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"540", "578"}));

    for (int i = 0; i < 6; ++i) Next();
    EXPECT_EQ(help.PageId(), 406);
    EXPECT_TRUE(Shows(406));
    ForgetSounds();
    Next();
    EXPECT_EQ(help.PageId(), 406);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});
    Previous();
    EXPECT_EQ(help.PageId(), 405);
    EXPECT_TRUE(Shows(405));
}

// The buttons' ways out are walked by the end-to-end screens tour.
TEST_F(HowToPlayTest, EscapePressesOk) {
    InputEvent escape = Event(kEventCharacter);
    escape.payload[0] = kCharEscape;
    help.HandleEvent(escape);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});
}

TEST_F(HowToPlayTest, EveryVisitStartsAtTheFirstPageAndLeavesNothingBehind) {
    Next();
    Next();
    help.Leave();
    EXPECT_EQ(Scene().Sprites().Count(), 0u);
    EXPECT_EQ(help.ControlCount(), 0);
    help.Enter();
    EXPECT_EQ(help.PageId(), 401);
    EXPECT_EQ(help.ControlCount(), HowToPlayView::kButtons);
    EXPECT_EQ(Scene().Sprites().Count(), 6u);
}

}  // namespace
