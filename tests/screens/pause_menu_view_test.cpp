// The pause menu: the slide, the press-and-release rule and the five actions.
#include "screens/pause_menu_view.h"

#include <algorithm>

#include "tests/screens/screen_fixture.h"

namespace {

enum Spot : int16_t { kOptions = 95, kScore = 125, kHelp = 155, kExit = 185, kResume = 215 };  // x, all at y 270

class PauseMenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const uint8_t id : {kViewMainMenu, kViewHunt, kViewResults, kViewOptions, kViewHowToPlay}) Stand(id);
        Install(pause, kViewPauseMenu);
        // A hunt from the menu, paused in its corner.
        Views().Start(kViewMainMenu);
        Open(kViewHunt);
        Scene().SetScroll(0, 500);
        Views().SwitchTo(kViewPauseMenu, true);
        pause.Enter();
        ForgetSounds();
    }
    void TearDown() override {
        pause.Leave();
        ScreenTest::TearDown();
    }
    // Events 31 ms apart until the panel rests; how many moved it.
    int SlideIn() {
        int moves = 0;
        for (int i = 0; i < 40 && pause.Animating(); ++i) {
            const int32_t x = pause.PanelX();
            plat::testing::AdvanceTick(PauseMenuView::kStepMs);
            EXPECT_EQ(Send(&pause, kEventIdle), kNotConsumed);
            moves += pause.PanelX() != x ? 1 : 0;
        }
        return moves;
    }
    int Tap(Spot at) { return ScreenTest::Tap(&pause, at, 270); }

    PauseMenuView pause;
};

TEST_F(PauseMenuTest, ThePanelSlidesInSeventeenStepsAndIgnoresTapsMeanwhile) {
    plat::testing::AdvanceTick(PauseMenuView::kStepMs);
    Send(&pause, kEventIdle);
    EXPECT_EQ(pause.PanelX(), 230);
    plat::testing::AdvanceTick(PauseMenuView::kStepMs - 1);  // sooner than 31 ms: no step
    Send(&pause, kEventIdle);
    EXPECT_EQ(pause.PanelX(), 230);
    plat::testing::AdvanceTick(1);
    Tap(kResume);
    EXPECT_EQ(pause.PanelX(), 220);  // the tap was a slide step
    EXPECT_EQ(Views().Next(), kViewPauseMenu);
    EXPECT_EQ(SlideIn() + 2, 17);
    EXPECT_EQ(pause.PanelX(), PauseMenuView::kPanelX);
    gfx::Picture panel;
    gfx::LoadPicture(panel, 518, 170, 100);
    EXPECT_EQ(Pixel(70 + 85, 220 + 50), panel.surface->At(85, 50));
    EXPECT_EQ(Pixel(70 + 160, 220 + 60), panel.surface->At(160, 60));
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(PauseMenuTest, ThePressedLookShowsWhileHeldAndOnlyAReleaseOnTheSameButtonActs) {
    Prefs().MenuAnimation = false;  // the panel is in place at the first event
    Send(&pause, kEventIdle);
    EXPECT_FALSE(pause.Animating());
    EXPECT_EQ(pause.PanelX(), PauseMenuView::kPanelX);
    Send(&pause, kEventPenDown, kResume, 270);
    EXPECT_EQ(pause.Pressed(), PauseMenuView::kResume);
    EXPECT_TRUE(Shows(526, 24, 88, 203, 226));
    Send(&pause, kEventPenUp, kExit, 270);
    EXPECT_EQ(pause.Pressed(), PauseMenuView::kNone);
    EXPECT_FALSE(Shows(526, 24, 88, 203, 226));
    Send(&pause, kEventPenDown, 20, 20);  // outside every button, released on one
    Send(&pause, kEventPenUp, kExit, 270);
    EXPECT_EQ(Views().Next(), kViewPauseMenu);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(PauseMenuTest, ResumeAndEscapeGoBackToTheHuntWithItsAmbience) {
    SlideIn();
    for (const bool escape : {false, true}) {
        if (escape) Views().SwitchTo(kViewPauseMenu, true);
        escape ? Char(&pause, kCharEscape) : Tap(kResume);
        EXPECT_EQ(Views().Next(), kViewHunt);
        EXPECT_EQ(Sounds(), (Strings{"stop", "537 music loop", "540"}));
    }
}

TEST_F(PauseMenuTest, ScoresOptionsAndHelpOpenWithoutPushingSoThatBackReturnsToTheHunt) {
    SlideIn();
    const uint8_t depth = Views().Depth();
    for (const auto& [spot, view] : {std::pair{kScore, kViewResults}, {kOptions, kViewOptions}, {kHelp, kViewHowToPlay}}) {
        Scene().SetScroll(0, 500);
        Tap(spot);
        EXPECT_EQ(Views().Next(), view);
        EXPECT_EQ(Views().Depth(), depth);
        EXPECT_EQ(Scene().GetScrollY(), 0);
        EXPECT_EQ(Sounds(), Strings{"540"});
    }
    Views().Back();
    EXPECT_EQ(Views().Next(), kViewHunt);
}

TEST_F(PauseMenuTest, ExitEndsTheHuntAndOpensTheMenuOverACutBackStack) {
    SlideIn();
    Tap(kExit);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Views().Depth(), 2);  // the bottom entry and this view
    EXPECT_EQ(Scene().GetScrollY(), 0);
    const Strings sounds = Sounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), "540");
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "535 music loop"), sounds.end());
}

}  // namespace
