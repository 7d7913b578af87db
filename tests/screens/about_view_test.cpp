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
        EXPECT_EQ(Pixel(10, 10), below);
        EXPECT_TRUE(Shows(509, 150, 200, 45, 60, 7));
        EXPECT_EQ(Pixel(195, 260), below);
        EXPECT_EQ(Sounds(), Strings{"578"});
        EXPECT_EQ(theApp.Animations()->Count(), 1);
    }
    theApp.Animations()->Clear();
    Scene().RemoveSprite(sprite);
}

TEST_F(AboutTest, OnlyATapAnywhereClosesIt) {
    Stand(kViewHowToPlay);
    Views().Start(kViewHowToPlay);
    Views().SwitchTo(kViewAbout, true);
    about.Enter();
    ForgetSounds();
    EXPECT_EQ(Key(&about, kKeyReturn), kNotConsumed);
    EXPECT_EQ(Send(&about, kEventIdle), kNotConsumed);
    EXPECT_EQ(Views().Next(), kViewAbout);
    EXPECT_EQ(Send(&about, kEventPenDown, 2, 2), kConsumed);  // outside the picture
    EXPECT_EQ(Views().Next(), kViewHowToPlay);
    EXPECT_EQ(Sounds(), Strings{"578"});
}

}  // namespace
