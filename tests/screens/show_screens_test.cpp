// The screens that only show and wait for a tap: title, about, credits, introduction and how to play.
#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/frame_set.h"
#include "graphics/blit.h"
#include "screens/about_view.h"
#include "screens/credits_view.h"
#include "screens/how_to_play_view.h"
#include "screens/introduction_view.h"
#include "screens/title_view.h"
#include "tests/screens/screen_fixture.h"

namespace {

class TitleTest : public EnteredScreen<TitleView, kViewTitle> {
protected:
    void Arrange() override { Stand(kViewMainMenu); }
    static bool Prompt() { return Shows(584, 36, 86, 200, 10); }
    TitleView& title = screen;
};

TEST_F(TitleTest, ThePromptBlinksInStepsOfMoreThan230MsAndOnlyATapOpensTheMenu) {
    ASSERT_TRUE(IdleAt(title, 10000));  // the first event draws at once, without the prompt
    EXPECT_TRUE(Shows(583, 240, 320, 0, 0, 3));
    EXPECT_FALSE(IdleAt(title, 10230));
    ASSERT_TRUE(IdleAt(title, 10231) && Prompt());
    IdleAt(title, 10462);
    EXPECT_FALSE(Prompt());
    IdleAt(title, 10693);
    EXPECT_TRUE(Prompt());
    // Only a tap opens the menu, without waiting for a blink.
    const uint8_t depth = Views().Depth();
    EXPECT_EQ(Key(&title, kKeyReturn), kConsumed);
    Send(&title, kEventPenHeld, 100, 100);
    EXPECT_NE(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Send(&title, kEventPenDown, 10, 300), kConsumed);
    EXPECT_TRUE(Views().Next() == kViewMainMenu && Views().Depth() == depth);  // no way back to the title
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

class AboutTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(about, kViewAbout);
    }
    AboutView about;
};

// Over a plain white screen: greyed with the menu animation, as it was without.
TEST_F(AboutTest, ThePictureIsCentredOverTheScreenBelowWithASoundAndWhatAnimatesBelowGoesOn) {
    gfx::Picture picture;
    gfx::LoadPicture(picture, 509, 150, 200);
    FrameSet frames;
    gfx::Picture* pictures[] = {&picture, &picture};
    frames.UseFrames(pictures, 2);
    AnimatedSprite sprite;
    sprite.InitAnimation(frames, 200, 280, false, false, false, 100, 0, 0);
    Scene().AddSpriteAnimated(sprite, 3);
    for (const bool animated : {true, false}) {
        Prefs().MenuAnimation = animated;
        gfx::FillSurface(Scene().GetDisplayList().GetDisplay().GetDisplaySurface(), 0xFFFF);
        Scene().GetDisplayList().PresentWhole();
        ForgetSounds();
        about.Enter();
        const uint16_t below = animated ? 0xBDD7 : 0xFFFF;
        EXPECT_TRUE(Pixel(10, 10) == below && Pixel(195, 260) == below && Shows(509, 150, 200, 45, 60, 7)) << animated;
        EXPECT_TRUE(Sounds() == Strings{"578"} && theApp.Animations()->Count() == 1);
    }
    theApp.Animations()->Clear();
    Scene().RemoveSprite(sprite);
}

class CreditsTest : public EnteredScreen<CreditsView, kViewCredits> {
protected:
    // One event `ms` after the last; true when the captions moved.
    bool Tick(uint32_t ms) {
        const int32_t before = credits.CaptionX(0);
        plat::testing::AdvanceTick(ms);
        EXPECT_EQ(Send(&credits, kEventIdle), kConsumed);
        return credits.CaptionX(0) != before;
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(Tick(CreditsView::kStepMs));
    }
    CreditsView& credits = screen;
};

TEST_F(CreditsTest, CaptionsStepEvery51MsFadeInTenPixelStepsDrawnKeyedOverACleanScreenAndTheRollRepeats) {
    EXPECT_EQ(std::tuple(credits.CaptionX(3), credits.CaptionY(0), credits.CaptionY(12)), std::tuple(300, 260 - 112, 260 - 126));
    ASSERT_TRUE(Tick(51));
    EXPECT_EQ(std::pair(credits.CaptionX(0), credits.CaptionX(12)), std::pair(218, 558));
    EXPECT_TRUE(!Tick(50) && Tick(1));  // however many events come in between
    Steps(48);  // caption 1 is at 120, in the opaque band, before the next step
    ASSERT_EQ(credits.CaptionX(0), 120);
    gfx::Picture caption, second;
    gfx::LoadPicture(caption, 407, 20, 112);
    gfx::LoadPicture(second, 408, 20, 164);
    Steps(1);
    int opaque = 0;
    for (int32_t y = 0; y < 112; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const gfx::Colour s = caption.surface->At(x, y);
            const bool keyed = s == caption.surface->At(0, 0);
            ASSERT_EQ(Pixel(120 + x, 148 + y), keyed ? 0 : s) << x << "," << y;
            opaque += keyed ? 0 : 1;
        }
    }
    EXPECT_GT(opaque, 50);
    // Caption 2 at 140 is drawn at 0.8 over black.
    int32_t y = 0;
    while (second.surface->At(10, y) == second.surface->At(0, 0)) ++y;
    EXPECT_EQ(Pixel(140 + 10, 96 + y), gfx::Alpha(second.surface->At(10, y), 0, 0.8f));
    const gfx::Surface& shown = Scene().GetDisplayList().GetDisplay().GetDisplaySurface();
    for (int32_t sy = 0; sy < 320; sy += 7) {
        for (int32_t sx = 0; sx < 240; sx += 3) ASSERT_EQ(shown.At(sx, sy), 0);
    }
    for (const int32_t x : {-360, 220}) {  // a caption at the end jumps back
        Steps(x < 0 ? 239 : 1);
        EXPECT_EQ(credits.CaptionX(0), x);
    }
    // Once the last caption has gone round, the whole roll repeats exactly.
    Steps(461 - 291);
    int32_t before[CreditsView::kCaptions];
    for (int i = 0; i < CreditsView::kCaptions; ++i) before[i] = credits.CaptionX(i);
    Steps(291);
    for (int i = 0; i < CreditsView::kCaptions; ++i) EXPECT_EQ(credits.CaptionX(i), before[i]) << i;
    EXPECT_EQ(credits.CaptionX(12) - credits.CaptionX(11), 20);
    // The opacity fades in ten-pixel steps at both edges of the opaque band.
    const std::pair<int32_t, float> at[] = {{220, 0.0f}, {219, 0.1f}, {130, 0.9f}, {129, 1.0f},
                                            {99, 0.9f},  {55, 0.5f},  {10, 0.1f},  {9, 0.0f}};
    for (const auto& [x, opacity] : at) EXPECT_EQ(CreditsView::OpacityAt(x), opacity) << x;
}

class IntroductionTest : public EnteredScreen<IntroductionView, kViewIntroduction> {
protected:
    void Arrange() override {
        Stand(kViewTitle);
        Scene().ClearSprites();  // the program's own first screen leaves the scene to this one
    }
    IntroductionView& intro = screen;
};

TEST_F(IntroductionTest, RequestForTwoSecondsThenTenFadeStepsAndTwentyFourTurnsThenTheTitle) {
    ASSERT_TRUE(IdleAt(intro, 10000));
    EXPECT_TRUE(Shows(351, 220, 212, 10, 53, 5));
    EXPECT_FALSE(IdleAt(intro, 11999));
    ASSERT_TRUE(IdleAt(intro, 12000) && Pixel(120, 160) == 0);  // black at two seconds, then the fade
    // The first fade step comes with the next event, the others 71 ms apart.
    uint32_t tick = 12001;
    ASSERT_TRUE(IdleAt(intro, tick));
    int fades = 1;
    for (; intro.LogoAlpha() <= 1.0f && fades < 20; ++fades) {
        EXPECT_FALSE(IdleAt(intro, tick += 70));
        ASSERT_TRUE(IdleAt(intro, tick += 1));
    }
    EXPECT_TRUE(fades == 10 && Pixel(120, 160) != 0);  // the logo built up

    ASSERT_TRUE(IdleAt(intro, tick += 1));
    int turns = 1;
    for (; intro.Angle() < 184.0 && turns < 40; ++turns) {
        EXPECT_FALSE(IdleAt(intro, tick += 50));
        ASSERT_TRUE(IdleAt(intro, tick += 1));
    }
    EXPECT_TRUE(turns == 24 && intro.Angle() == 186.0 && Views().Next() != kViewTitle);
    IdleAt(intro, tick += 1);
    EXPECT_TRUE(Views().Next() == kViewTitle && Views().Depth() == 0);  // the title does not lead back here
}

// Escape within two seconds skips as the button does; a tap on it after them is a fade step.
TEST_F(IntroductionTest, SkipWorksOnlyWithinTwoSecondsAndLeavingTakesTheButtonOffTheSceneBeforeFreeingIt) {
    EXPECT_EQ(Scene().Sprites().Count(), 1u);
    intro.Leave();
    EXPECT_EQ(Scene().Sprites().Count() + intro.ControlCount(), 0);  // both gone
    Scene().RedrawAll();  // nothing left that points at the freed button
    intro.Enter();
    IdleAt(intro, 10000);
    plat::testing::SetTick(11000);
    Send(&intro, kEventPenDown, 100, 100);  // not on the button
    EXPECT_NE(Views().Next(), kViewTitle);
    Char(&intro, kCharEscape);
    EXPECT_EQ(Views().Next(), kViewTitle);
    TearDown();
    SetUp();  // a fresh introduction
    IdleAt(intro, 10000);
    IdleAt(intro, 12000);
    plat::testing::SetTick(12100);
    Send(&intro, kEventPenDown, 200, 310);  // the skip button: only a fade step now
    EXPECT_TRUE(Views().Next() != kViewTitle && intro.LogoAlpha() > 0.0f);
}

class HowToPlayTest : public EnteredScreen<HowToPlayView, kViewHowToPlay> {
protected:
    void Arrange() override {
        for (const uint8_t id : {kViewMainMenu, kViewCredits, kViewAbout}) Stand(id);
        Views().Start(kViewMainMenu);
        Views().SwitchTo(kViewHowToPlay, true);
        Scene().ClearSprites();
    }
    void Next() { EXPECT_EQ(Tap(&help, 155, 28), kConsumed); }
    void Previous() { EXPECT_EQ(Tap(&help, 40, 28), kConsumed); }
    static bool ShowsPage(uint16_t id) { return Shows(id, 118, 216, 62, 62, 4); }
    HowToPlayView& help = screen;
};

TEST_F(HowToPlayTest, PagesTurnInTwoStepsStopAtBothEndsAndEveryVisitStartsAtTheFirst) {
    Send(&help, kEventViewEntered);
    ForgetSounds();
    EXPECT_TRUE(ShowsPage(401));
    Previous();  // at the first page: only the click
    EXPECT_TRUE(help.PageId() == 401 && Sounds() == Strings{"540"});

    const uint32_t before = plat::GetTickCount();
    const uint32_t presents = plat::testing::PresentCount();
    Next();
    EXPECT_GE(plat::GetTickCount() - before, HowToPlayView::kTurnMs);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 4);  // button down and up, half page, whole page
    EXPECT_TRUE(help.PageId() == 402 && !help.Page().blend && ShowsPage(402));
    EXPECT_EQ(Sounds(), (Strings{"540", "578"}));

    for (int i = 0; i < 6; ++i) Next();
    EXPECT_EQ(help.PageId(), 406);
    ForgetSounds();
    Next();
    EXPECT_TRUE(help.PageId() == 406 && Sounds() == Strings{"540"});
    Previous();
    EXPECT_TRUE(ShowsPage(405));
    // Escape presses OK; every visit starts at the first page, leaving nothing behind.
    Char(&help, kCharEscape);
    EXPECT_TRUE(Views().Next() == kViewMainMenu && Sounds().back() == "540");
    const auto held = [&] { return std::tuple(help.PageId(), help.ControlCount(), Scene().Sprites().Count()); };
    help.Leave();
    EXPECT_EQ(held(), std::tuple(help.PageId(), 0, 0u));
    help.Enter();
    EXPECT_EQ(held(), std::tuple(401, HowToPlayView::kButtons, 6u));
}

using GameAppTest = ScreenTest;

TEST_F(GameAppTest, StartsOnTheIntroductionOverABlackScreenThatTheFirstEventDrawsOn) {
    EXPECT_EQ(Views().Current(), kViewIntroduction);
    EXPECT_EQ(Pixel(120, 160), 0);
    plat::testing::PushMessage({plat::kMsgPenMove, 0, 10 | (10u << 16)});
    plat::testing::EndQueue();
    theApp.Run();
    int lit = 0;
    for (int i = 0; i < 240 * 320; ++i) lit += plat::testing::PresentedPanel()[i] != 0 ? 1 : 0;
    EXPECT_TRUE(lit > 1000 && plat::testing::MessageBoxes().empty());
}

}  // namespace
