// The main menu and the pause menu: slides, buttons, names and music.
#include <algorithm>
#include <cstring>

#include "screens/main_menu_view.h"
#include "screens/pause_menu_view.h"
#include "tests/screens/screen_fixture.h"

namespace {

class MainMenuTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        for (const uint8_t id : {kViewHunt, kViewOptions, kViewResults, kViewHowToPlay, kViewNameEntry, kViewTitle}) Stand(id);
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
    void Leave() {
        menu.Leave();
        entered = false;
    }
    // Events 10 ms apart until the slide is over; how many it took.
    int SlideIn() {
        int events = 0;
        for (; menu.Animating() && events < 200; ++events) {
            plat::testing::AdvanceTick(10);
            EXPECT_EQ(Send(&menu, kEventIdle), kConsumed);
        }
        return events;
    }
    int32_t NameHeight() const { return static_cast<int32_t>(menu.NameField().sprite.height); }

    MainMenuView menu;
    bool entered = false;
};

TEST_F(MainMenuTest, PicturesSlideOneAfterAnotherToTheirPlacesThenBecomeButtonsAndTheMusicStartsOnlyFromTheTitle) {
    Enter();
    EXPECT_EQ(Sounds(), (Strings{"stop", "535 music loop"}));
    EXPECT_EQ(std::pair(menu.SlideSprite(0).y, menu.SlideSprite(5).y), std::pair(-168, 330));
    plat::testing::AdvanceTick(10);
    Send(&menu, kEventIdle);
    Send(&menu, kEventIdle);  // two events at the same tick make one step
    EXPECT_EQ(std::pair(menu.SlideSprite(0).y, menu.SlideSprite(1).y), std::pair(-154, -140));  // the second waits for the first to land
    ForgetSounds();
    plat::testing::AdvanceTick(10);
    EXPECT_EQ(Tap(&menu, 30, 5), kConsumed);  // a tap meanwhile does nothing
    EXPECT_TRUE(Views().Next() == kViewMainMenu && Sounds().empty() && menu.ControlCount() == 0);

    // 12, 10, 8, 7, 7 and 12 steps, and one event more for each to hand over.
    EXPECT_EQ((std::pair{SlideIn() + 2, menu.ControlCount()}), std::pair(62, 6));
    const int32_t finalX[] = {11, 57, 103, 149, 195, 195};
    const int32_t lengths[] = {152, 122, 110, 92, 82, 158};
    for (int i = 0; i < MainMenuView::kItems; ++i) {
        const gfx::Sprite& sprite = menu.ItemButton(i).sprite;
        EXPECT_EQ((std::vector<int32_t>{sprite.x, sprite.y, sprite.layer, static_cast<int32_t>(sprite.height)}),
                  (std::vector<int32_t>{finalX[i], i == 5 ? 162 : 0, MainMenuView::kButtonLayer, lengths[i]})) << i;
    }
    EXPECT_TRUE(menu.ControlAt(4) == &menu.ItemButton(5) && menu.ControlAt(5) == &menu.ItemButton(4));  // name before quit
    Leave();
    Views().Start(kViewOptions);
    Views().SwitchTo(kViewMainMenu);
    Enter();
    EXPECT_TRUE(Sounds().empty());
}

// Each button's screen, pushed, is walked by the end-to-end tours.
// An eight-letter name fits, and every name is centred on its button, drawn into its picture.
TEST_F(MainMenuTest, WithoutAnimationEveryVisitHasItsButtonsAndNameAtOnceAndLeavesNoneBehindOnAGreyScreen) {
    Prefs().MenuAnimation = false;
    std::strcpy(Prefs().UserName, "ABCDEFGH");
    int32_t eight = 0;
    for (int visit = 0; visit < 9; ++visit) {
        Enter();
        EXPECT_EQ((std::tuple{SlideIn(), menu.ControlCount(), menu.ItemButton(5).sprite.y, menu.NameField().sprite.y}),
                  std::tuple(1, 6, 162, 410 - NameHeight() / 2)) << visit;
        if (visit == 0) {
            eight = NameHeight();
            // Within the button's 158-pixel picture as it stood at the start of its slide (y 330).
            EXPECT_TRUE(menu.NameField().sprite.y >= 330 && menu.NameField().sprite.y + eight <= 330 + 158);
            gfx::Picture bare;
            gfx::LoadPicture(bare, 364, 40, 158);
            const gfx::Picture& shown = *menu.ItemButton(5).sprite.image;
            int differ = 0;
            for (int32_t y = 0; y < 158; ++y) differ += shown.surface->At(18, y) != bare.surface->At(18, y) ? 1 : 0;
            EXPECT_GT(differ, 10);
            std::strcpy(Prefs().UserName, "AB");  // shown on the next visit
        } else {
            EXPECT_LT(NameHeight(), eight);
        }
        const uint16_t before = Pixel(100, 300);
        Leave();
        EXPECT_TRUE(menu.ControlCount() == 0 && Scene().Sprites().Count() == 0u) << visit;
        const uint16_t after = Pixel(100, 300);
        EXPECT_NE(after, before);
        // Grey: the three channels, taken to 8 bits, agree.
        EXPECT_TRUE(((after >> 8) & 0xF8) == ((after >> 3) & 0xF8) && ((after >> 8) & 0xF8) == ((after << 3) & 0xF8)) << after;
    }
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
    Enter();
    SlideIn();
    const uint8_t depth = Views().Depth();
    Send(&menu, kEventPenDown, 30, 70);
    Send(&menu, kEventPenUp, 75, 60);  // lifted on another button
    EXPECT_TRUE(Views().Next() == kViewMainMenu && Views().Depth() == depth);
    EXPECT_EQ(Tap(&menu, 210, 40), kQuit);
}

enum Spot : int16_t { kOptions = 95, kScore = 125, kHelp = 155, kExit = 185, kResume = 215 };  // x, all at y 270

// A hunt from the menu, paused in its corner.
class PauseMenuTest : public EnteredScreen<PauseMenuView, kViewPauseMenu> {
protected:
    void Arrange() override {
        for (const uint8_t id : {kViewMainMenu, kViewHunt, kViewResults, kViewOptions, kViewHowToPlay}) Stand(id);
        Views().Start(kViewMainMenu);
        Open(kViewHunt);
        Scene().SetScroll(0, 500);
        Views().SwitchTo(kViewPauseMenu, true);
    }
    void SetUp() override {
        EnteredScreen::SetUp();
        ForgetSounds();
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
    PauseMenuView& pause = screen;
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
    EXPECT_TRUE(pause.PanelX() == 220 && Views().Next() == kViewPauseMenu);  // the tap was a slide step
    EXPECT_EQ((std::pair{SlideIn() + 2, pause.PanelX()}), std::pair(17, PauseMenuView::kPanelX));
    gfx::Picture panel;
    gfx::LoadPicture(panel, 518, 170, 100);
    for (const auto& [x, y] : {std::pair{85, 50}, {160, 60}}) EXPECT_EQ(Pixel(70 + x, 220 + y), panel.surface->At(x, y));
    EXPECT_TRUE(Sounds().empty());
}

// Resume and Escape go back to the hunt; scores, options and help open without a push; exit cuts the back stack.
TEST_F(PauseMenuTest, ThePressedLookShowsWhileHeldAndEveryButtonReleasedOnLeadsWhereItShould) {
    Prefs().MenuAnimation = false;  // the panel is in place at the first event
    Send(&pause, kEventIdle);
    EXPECT_TRUE(!pause.Animating() && pause.PanelX() == PauseMenuView::kPanelX);
    Send(&pause, kEventPenDown, kResume, 270);
    EXPECT_TRUE(pause.Pressed() == PauseMenuView::kResume && Shows(526, 24, 88, 203, 226));
    Send(&pause, kEventPenUp, kExit, 270);
    EXPECT_TRUE(pause.Pressed() == PauseMenuView::kNone && !Shows(526, 24, 88, 203, 226));
    Send(&pause, kEventPenDown, 20, 20);  // outside every button, released on one
    Send(&pause, kEventPenUp, kExit, 270);
    EXPECT_TRUE(Views().Next() == kViewPauseMenu && Sounds().empty());
    for (const bool escape : {false, true}) {
        escape ? Char(&pause, kCharEscape) : Tap(kResume);
        EXPECT_TRUE(Views().Next() == kViewHunt && Sounds() == (Strings{"stop", "537 music loop", "540"})) << escape;
        Views().SwitchTo(kViewPauseMenu, true);  // back where it was
    }
    const uint8_t depth = Views().Depth();
    for (const auto& [spot, view] : {std::pair{kScore, kViewResults}, {kOptions, kViewOptions}, {kHelp, kViewHowToPlay}}) {
        Scene().SetScroll(0, 500);
        Tap(spot);
        EXPECT_EQ(std::tuple(Views().Next(), Views().Depth(), Scene().GetScrollY(), Sounds()), std::tuple(view, depth, 0, Strings{"540"}));
    }
    Views().Back();
    EXPECT_EQ(Views().Next(), kViewHunt);
    Scene().SetScroll(0, 500);
    Tap(kExit);
    EXPECT_EQ(std::tuple(Views().Next(), Views().Depth(), Scene().GetScrollY()), std::tuple(kViewMainMenu, 2, 0));  // bottom entry + this
    const Strings sounds = Sounds();
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), "540");
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "535 music loop"), sounds.end());
}

}  // namespace
