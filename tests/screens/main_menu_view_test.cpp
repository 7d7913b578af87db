// The main menu: the slide-in, its buttons, the player's name and the music.
#include "screens/main_menu_view.h"

#include <cstring>

#include "tests/screens/screen_fixture.h"

namespace {

class MainMenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const uint8_t id : {kViewHunt, kViewOptions, kViewResults, kViewHowToPlay, kViewNameEntry, kViewTitle}) {
            Stand(id);
        }
        Install(menu, kViewMainMenu);
        // Arrive from the title, as at start-up.
        Views().Start(kViewTitle);
        Views().SwitchTo(kViewMainMenu);
        Scene().ClearSprites();
        ForgetSounds();
    }
    void TearDown() override {
        if (entered) menu.Leave();
        ScreenTest::TearDown();
    }
    void Enter() {
        menu.Enter();
        entered = true;
    }
    // One event at the next tick.
    int Idle() {
        plat::testing::AdvanceTick(10);
        InputEvent idle = Event(kEventIdle);
        return menu.HandleEvent(idle);
    }
    int SlideIn() {
        int events = 0;
        while (menu.Animating() && events < 200) {
            EXPECT_EQ(Idle(), kConsumed);
            ++events;
        }
        return events;
    }
    int Tap(int16_t x, int16_t y) {
        InputEvent down = Event(kEventPenDown, x, y);
        EXPECT_EQ(menu.HandleEvent(down), kConsumed);
        InputEvent up = Event(kEventPenUp, x, y);
        return menu.HandleEvent(up);
    }

    MainMenuView menu;
    bool entered = false;
};

TEST_F(MainMenuTest, PicturesSlideOneAfterAnotherToTheirPlacesThenBecomeButtons) {
    Enter();
    EXPECT_EQ(menu.SlideSprite(0).y, -168);
    EXPECT_EQ(menu.SlideSprite(5).y, 330);
    // Two events at the same tick make one step.
    Idle();
    InputEvent again = Event(kEventIdle);
    menu.HandleEvent(again);
    EXPECT_EQ(menu.SlideSprite(0).y, -154);
    EXPECT_EQ(menu.SlideSprite(1).y, -140);  // waits for the first to land
    // A tap meanwhile does nothing.
    ForgetSounds();
    plat::testing::AdvanceTick(10);
    EXPECT_EQ(Tap(30, 5), kConsumed);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(menu.ControlCount(), 0);

    // 12, 10, 8, 7, 7 and 12 steps, and one event more for each to hand over.
    EXPECT_EQ(SlideIn() + 2, 62);
    EXPECT_EQ(menu.ControlCount(), 6);
    const int32_t finalX[] = {11, 57, 103, 149, 195, 195};
    const int32_t finalY[] = {0, 0, 0, 0, 0, 162};
    for (int i = 0; i < MainMenuView::kItems; ++i) {
        EXPECT_EQ(menu.ItemButton(i).sprite.x, finalX[i]) << i;
        EXPECT_EQ(menu.ItemButton(i).sprite.y, finalY[i]) << i;
        EXPECT_EQ(menu.ItemButton(i).sprite.layer, MainMenuView::kButtonLayer) << i;
    }
    // The name button comes before quit.
    EXPECT_EQ(menu.ControlAt(4), &menu.ItemButton(5));
    EXPECT_EQ(menu.ControlAt(5), &menu.ItemButton(4));
}

TEST_F(MainMenuTest, WithoutMenuAnimationTheButtonsAreThereAtTheFirstEventAndLeavingGreysTheScreen) {
    Prefs().MenuAnimation = false;
    Enter();
    EXPECT_EQ(SlideIn(), 1);
    EXPECT_EQ(menu.ControlCount(), 6);
    EXPECT_EQ(menu.ItemButton(0).sprite.y, 0);
    EXPECT_EQ(menu.ItemButton(5).sprite.y, 162);
    const uint16_t before = Pixel(100, 300);
    menu.Leave();
    entered = false;
    const uint16_t after = Pixel(100, 300);
    EXPECT_NE(after, before);
    // Grey: the three channels, taken to 8 bits, agree.
    EXPECT_EQ((after >> 8) & 0xF8, (after >> 3) & 0xF8);
    EXPECT_EQ((after >> 8) & 0xF8, (after << 3) & 0xF8);
}

// Each button's screen, pushed, is walked by the end-to-end tours.
TEST_F(MainMenuTest, APressLiftedOnAnotherButtonDoesNothingAndQuitEndsTheProgram) {
    Prefs().MenuAnimation = false;
    Enter();
    SlideIn();
    const uint8_t depth = Views().Depth();
    InputEvent down = Event(kEventPenDown, 30, 70);
    menu.HandleEvent(down);
    InputEvent up = Event(kEventPenUp, 75, 60);
    menu.HandleEvent(up);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Views().Depth(), depth);
    // Quit ends the program.
    EXPECT_EQ(Tap(210, 40), kQuit);
}

TEST_F(MainMenuTest, TheMusicStartsOnlyOnTheWayInFromTheTitle) {
    Enter();
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"stop", "535 music loop"}));
    menu.Leave();
    entered = false;
    // From the options.
    Views().Start(kViewOptions);
    Views().SwitchTo(kViewMainMenu);
    Enter();
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(MainMenuTest, EveryVisitStartsWithSixControlsAndLeavesNone) {
    Prefs().MenuAnimation = false;
    for (int visit = 0; visit < 9; ++visit) {
        Enter();
        SlideIn();
        EXPECT_EQ(menu.ControlCount(), 6) << visit;
        menu.Leave();
        entered = false;
        EXPECT_EQ(menu.ControlCount(), 0) << visit;
        EXPECT_EQ(Scene().Sprites().Count(), 0u) << visit;
    }
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

TEST_F(MainMenuTest, AnEightLetterNameFitsAndEveryNameIsCentredOnItsButton) {
    Prefs().MenuAnimation = false;
    std::strcpy(Prefs().UserName, "ABCDEFGH");
    Enter();
    SlideIn();
    const gfx::Sprite& name = menu.NameField().sprite;
    const auto eight = static_cast<int32_t>(name.height);
    ASSERT_GT(eight, 0);
    EXPECT_EQ(name.y, 410 - eight / 2);
    // It lies within the button's 158-pixel picture, placed as the button
    // stood at the start of its slide (y 330).
    EXPECT_GE(name.y, 330);
    EXPECT_LE(name.y + eight, 330 + 158);
    // The name was drawn into the button's picture: it differs from the bare one.
    gfx::Picture bare;
    gfx::LoadPicture(bare, 364, 40, 158);
    const gfx::Picture& shown = *menu.ItemButton(5).sprite.image;
    int differ = 0;
    for (int32_t y = 0; y < 158; ++y) differ += shown.surface->At(18, y) != bare.surface->At(18, y) ? 1 : 0;
    EXPECT_GT(differ, 10);
    menu.Leave();

    // A new name shows on the next visit, centred again.
    std::strcpy(Prefs().UserName, "AB");
    Enter();
    SlideIn();
    EXPECT_LT(static_cast<int32_t>(menu.NameField().sprite.height), eight);
    EXPECT_EQ(menu.NameField().sprite.y, 410 - static_cast<int32_t>(menu.NameField().sprite.height) / 2);
}

}  // namespace
