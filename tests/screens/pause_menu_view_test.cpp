// The pause menu: the slide, the press-and-release rule and the five actions.
#include "screens/pause_menu_view.h"

#include "tests/screens/screen_fixture.h"

namespace {

struct Spot {
    int16_t x, y;
};
constexpr Spot kOptions = {95, 270};
constexpr Spot kScore = {125, 270};
constexpr Spot kHelp = {155, 270};
constexpr Spot kExit = {185, 270};
constexpr Spot kResume = {215, 270};

class PauseMenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const uint8_t id : {kViewMainMenu, kViewHunt, kViewResults, kViewOptions, kViewHowToPlay}) Stand(id);
        Install(pause, kViewPauseMenu);
        // A hunt from the menu, paused in its corner.
        Views().Start(kViewMainMenu);
        Views().SwitchTo(kViewHunt, true);
        Views().HandleEvent(idle);
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
            EXPECT_EQ(pause.HandleEvent(idle), kNotConsumed);
            moves += pause.PanelX() != x ? 1 : 0;
        }
        return moves;
    }
    void Down(Spot at) {
        InputEvent down = Event(kEventPenDown, at.x, at.y);
        pause.HandleEvent(down);
    }
    void Up(Spot at) {
        InputEvent up = Event(kEventPenUp, at.x, at.y);
        pause.HandleEvent(up);
    }
    void Tap(Spot at) {
        Down(at);
        Up(at);
    }

    PauseMenuView pause;
    InputEvent idle = Event(kEventIdle);
};

TEST_F(PauseMenuTest, ThePanelSlidesInSeventeenStepsAndIgnoresTapsMeanwhile) {
    gfx::Picture panel;
    gfx::LoadPicture(panel, 518, 170, 100);
    plat::testing::AdvanceTick(PauseMenuView::kStepMs);
    pause.HandleEvent(idle);
    EXPECT_EQ(pause.PanelX(), 230);
    // Sooner than 31 ms: no step.
    plat::testing::AdvanceTick(PauseMenuView::kStepMs - 1);
    pause.HandleEvent(idle);
    EXPECT_EQ(pause.PanelX(), 230);
    plat::testing::AdvanceTick(1);
    Tap(kResume);
    EXPECT_EQ(pause.PanelX(), 220);  // the tap was a slide step
    EXPECT_EQ(Views().Next(), kViewPauseMenu);

    EXPECT_EQ(SlideIn() + 2, 17);
    EXPECT_EQ(pause.PanelX(), PauseMenuView::kPanelX);
    // The whole panel is on the panel's place.
    EXPECT_EQ(Pixel(70 + 85, 220 + 50), panel.surface->At(85, 50));
    EXPECT_EQ(Pixel(70 + 160, 220 + 60), panel.surface->At(160, 60));
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(PauseMenuTest, ThePressedLookShowsWhileHeldAndOnlyAReleaseOnTheSameButtonActs) {
    // Without the menu animation the panel is in place at the first event.
    Prefs().MenuAnimation = false;
    pause.HandleEvent(idle);
    EXPECT_FALSE(pause.Animating());
    EXPECT_EQ(pause.PanelX(), PauseMenuView::kPanelX);
    gfx::Picture pressed;
    gfx::LoadPicture(pressed, 526, 24, 88);
    Down(kResume);
    EXPECT_EQ(pause.Pressed(), PauseMenuView::kResume);
    EXPECT_EQ(Pixel(203 + 12, 226 + 44), pressed.surface->At(12, 44));
    Up(kExit);
    EXPECT_EQ(pause.Pressed(), PauseMenuView::kNone);
    EXPECT_NE(Pixel(203 + 12, 226 + 44), pressed.surface->At(12, 44));
    EXPECT_EQ(Views().Next(), kViewPauseMenu);
    // Pressed outside every button, released on one: nothing either.
    Down({20, 20});
    Up(kExit);
    EXPECT_EQ(Views().Next(), kViewPauseMenu);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(PauseMenuTest, ResumeAndEscapeGoBackToTheHuntWithItsAmbience) {
    SlideIn();
    Tap(kResume);
    EXPECT_EQ(Views().Next(), kViewHunt);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"stop", "537 music loop", "540"}));
    Views().SwitchTo(kViewPauseMenu, true);
    InputEvent escape = Event(kEventCharacter);
    escape.payload[0] = kCharEscape;
    pause.HandleEvent(escape);
    EXPECT_EQ(Views().Next(), kViewHunt);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"stop", "537 music loop", "540"}));
}

TEST_F(PauseMenuTest, ScoresOptionsAndHelpOpenWithoutPushingSoThatBackReturnsToTheHunt) {
    SlideIn();
    const uint8_t depth = Views().Depth();
    const Spot spots[] = {kScore, kOptions, kHelp};
    const uint8_t views[] = {kViewResults, kViewOptions, kViewHowToPlay};
    for (int i = 0; i < 3; ++i) {
        Scene().SetScroll(0, 500);
        Tap(spots[i]);
        EXPECT_EQ(Views().Next(), views[i]);
        EXPECT_EQ(Views().Depth(), depth);
        EXPECT_EQ(Scene().GetScrollY(), 0);
        EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});
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
    const std::vector<std::string> sounds = Sounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), "540");
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "535 music loop"), sounds.end());
}

}  // namespace
