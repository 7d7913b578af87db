// The about popup: over the greyed screen or not, and closed only by a tap.
#include "screens/about_view.h"

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/frame_set.h"
#include "graphics/blit.h"
#include "tests/screens/screen_fixture.h"

namespace {

class AboutTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(about, kViewAbout);
        gfx::LoadPicture(picture, 509, 150, 200);
    }

    AboutView about;
    gfx::Picture picture;
};

// Over a plain white screen: greyed with the menu animation, as it was without.
TEST_F(AboutTest, ThePictureIsCentredOverTheScreenBelowWithASound) {
    for (const bool animated : {true, false}) {
        Prefs().MenuAnimation = animated;
        gfx::FillSurface(Scene().GetDisplayList().GetDisplay().GetDisplaySurface(), 0xFFFF);
        Scene().GetDisplayList().PresentWhole();
        ForgetSounds();
        about.Enter();
        const uint16_t below = animated ? 0xBDD7 : 0xFFFF;
        EXPECT_EQ(Pixel(10, 10), below);
        EXPECT_EQ(Pixel(45, 60), picture.surface->At(0, 0));
        EXPECT_EQ(Pixel(194, 259), picture.surface->At(149, 199));
        EXPECT_EQ(Pixel(195, 260), below);
        EXPECT_EQ(Sounds(), std::vector<std::string>{"578"});
    }
}

TEST_F(AboutTest, WhatAnimatesBelowKeepsAnimating) {
    FrameSet frames;
    gfx::Picture* pictures[] = {&picture, &picture};
    frames.UseFrames(pictures, 2);
    AnimatedSprite sprite;
    sprite.InitAnimation(frames, 0, 0, false, false, false, 100, 0, 0);
    Scene().AddSpriteAnimated(sprite, 3);
    ASSERT_EQ(theApp.Animations()->Count(), 1);
    about.Enter();
    EXPECT_EQ(theApp.Animations()->Count(), 1);
    theApp.Animations()->Clear();
    Scene().RemoveSprite(sprite);
}

TEST_F(AboutTest, OnlyATapAnywhereClosesIt) {
    Stand(kViewHowToPlay);
    Views().Start(kViewHowToPlay);
    Views().SwitchTo(kViewAbout, true);
    about.Enter();
    ForgetSounds();
    InputEvent keys = Key(kKeyReturn);
    EXPECT_EQ(about.HandleEvent(keys), kNotConsumed);
    InputEvent idle = Event(kEventIdle);
    EXPECT_EQ(about.HandleEvent(idle), kNotConsumed);
    EXPECT_EQ(Views().Next(), kViewAbout);
    InputEvent tap = Event(kEventPenDown, 2, 2);  // outside the picture
    EXPECT_EQ(about.HandleEvent(tap), kConsumed);
    EXPECT_EQ(Views().Next(), kViewHowToPlay);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"578"});
}

}  // namespace
