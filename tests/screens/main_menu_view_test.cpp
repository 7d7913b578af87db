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

TEST_F(MainMenuTest, PicturesSlideOneAfterAnotherToTheirPlacesThenBecomeButtons) {
    Enter();
    EXPECT_EQ(menu.SlideSprite(0).y, -168);
    EXPECT_EQ(menu.SlideSprite(5).y, 330);
    plat::testing::AdvanceTick(10);
    Send(&menu, kEventIdle);
    Send(&menu, kEventIdle);  // two events at the same tick make one step
    EXPECT_EQ(menu.SlideSprite(0).y, -154);
    EXPECT_EQ(menu.SlideSprite(1).y, -140);  // waits for the first to land
    ForgetSounds();
    plat::testing::AdvanceTick(10);
    EXPECT_EQ(Tap(&menu, 30, 5), kConsumed);  // a tap meanwhile does nothing
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(menu.ControlCount(), 0);

    // 12, 10, 8, 7, 7 and 12 steps, and one event more for each to hand over.
    EXPECT_EQ(SlideIn() + 2, 62);
    EXPECT_EQ(menu.ControlCount(), 6);
    const int32_t finalX[] = {11, 57, 103, 149, 195, 195};
    for (int i = 0; i < MainMenuView::kItems; ++i) {
        const gfx::Sprite& sprite = menu.ItemButton(i).sprite;
        EXPECT_EQ((std::vector<int32_t>{sprite.x, sprite.y, sprite.layer}),
                  (std::vector<int32_t>{finalX[i], i == 5 ? 162 : 0, MainMenuView::kButtonLayer})) << i;
    }
    // The name button comes before quit.
    EXPECT_EQ(menu.ControlAt(4), &menu.ItemButton(5));
    EXPECT_EQ(menu.ControlAt(5), &menu.ItemButton(4));
}

// Each button's screen, pushed, is walked by the end-to-end tours.
TEST_F(MainMenuTest, WithoutAnimationEveryVisitHasItsButtonsAtOnceAndLeavesNoneBehindOnAGreyScreen) {
    Prefs().MenuAnimation = false;
    for (int visit = 0; visit < 9; ++visit) {
        Enter();
        EXPECT_EQ(SlideIn(), 1) << visit;
        EXPECT_EQ(menu.ControlCount(), 6) << visit;
        EXPECT_EQ(menu.ItemButton(5).sprite.y, 162);
        const uint16_t before = Pixel(100, 300);
        Leave();
        EXPECT_EQ(menu.ControlCount(), 0) << visit;
        EXPECT_EQ(Scene().Sprites().Count(), 0u) << visit;
        const uint16_t after = Pixel(100, 300);
        EXPECT_NE(after, before);
        // Grey: the three channels, taken to 8 bits, agree.
        EXPECT_EQ((after >> 8) & 0xF8, (after >> 3) & 0xF8);
        EXPECT_EQ((after >> 8) & 0xF8, (after << 3) & 0xF8);
    }
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
    Enter();
    SlideIn();
    const uint8_t depth = Views().Depth();
    Send(&menu, kEventPenDown, 30, 70);
    Send(&menu, kEventPenUp, 75, 60);  // lifted on another button
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Views().Depth(), depth);
    EXPECT_EQ(Tap(&menu, 210, 40), kQuit);
}

TEST_F(MainMenuTest, TheMusicStartsOnlyOnTheWayInFromTheTitle) {
    Enter();
    EXPECT_EQ(Sounds(), (Strings{"stop", "535 music loop"}));
    Leave();
    Views().Start(kViewOptions);
    Views().SwitchTo(kViewMainMenu);
    Enter();
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(MainMenuTest, AnEightLetterNameFitsAndEveryNameIsCentredOnItsButton) {
    Prefs().MenuAnimation = false;
    std::strcpy(Prefs().UserName, "ABCDEFGH");
    Enter();
    SlideIn();
    const gfx::Sprite& name = menu.NameField().sprite;
    const int32_t eight = NameHeight();
    ASSERT_GT(eight, 0);
    EXPECT_EQ(name.y, 410 - eight / 2);
    // Within the button's 158-pixel picture as it stood at the start of its slide (y 330).
    EXPECT_GE(name.y, 330);
    EXPECT_LE(name.y + eight, 330 + 158);
    // The name was drawn into the button's picture: it differs from the bare one.
    gfx::Picture bare;
    gfx::LoadPicture(bare, 364, 40, 158);
    const gfx::Picture& shown = *menu.ItemButton(5).sprite.image;
    int differ = 0;
    for (int32_t y = 0; y < 158; ++y) differ += shown.surface->At(18, y) != bare.surface->At(18, y) ? 1 : 0;
    EXPECT_GT(differ, 10);
    Leave();

    std::strcpy(Prefs().UserName, "AB");  // shown on the next visit, centred again
    Enter();
    SlideIn();
    EXPECT_LT(NameHeight(), eight);
    EXPECT_EQ(menu.NameField().sprite.y, 410 - NameHeight() / 2);
}

}  // namespace
