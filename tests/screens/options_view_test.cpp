// The options screen: sliders heard at once, switches, OK and Cancel, and the
// first stray tap swallowed.
#include "screens/options_view.h"

#include "sound/sound_manager.h"
#include "tests/screens/screen_fixture.h"

namespace {

class OptionsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(options, kViewOptions);
        Stand(kViewMainMenu);
        Prefs().MusicVol = 30;
        Prefs().SoundVol = 30;
        Prefs().MenuAnimation = true;
        Prefs().SpecialEffects = false;
        Views().Start(kViewMainMenu);
        Views().SwitchTo(kViewOptions, true);
        InputEvent enter = Event(kEventIdle);
        Views().HandleEvent(enter);
        ASSERT_EQ(Views().Current(), kViewOptions);
        ForgetSounds();
    }

    int Offer(uint32_t type, int16_t x, int16_t y) {
        event = Event(type, x, y);
        return Views().HandleEvent(event);
    }
    void Tap(int16_t x, int16_t y) {
        Offer(kEventPenDown, x, y);
        Offer(kEventPenUp, x, y);
    }
    // The next event carries out the switch the screen asked for.
    uint8_t ViewAfterwards() {
        Offer(kEventIdle, 0, 0);
        return Views().Current();
    }

    OptionsView options;
    InputEvent event{};
};

TEST_F(OptionsTest, TheMusicSliderRestartsTheMenuMusicAtEachNewValue) {
    EXPECT_EQ(Offer(kEventPenDown, 80, 120), kNotConsumed);  // on the thumb at 30
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(Offer(kEventPenHeld, 80, 108), kNotConsumed);  // aims at 40
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_EQ(Prefs().MusicVol, 40);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"stop", "535 music loop"}));
    Offer(kEventPenHeld, 80, 108);  // no new value, nothing heard
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenHeld, 80, 0);  // past the top: the full 70 is kept
    EXPECT_EQ(Prefs().MusicVol, 70);
    Offer(kEventPenUp, 80, 0);
    EXPECT_EQ(event.type, kEventIdle);
}

TEST_F(OptionsTest, TheEffectSliderPlaysItsTestSoundOnceTheFirstTapIsSwallowed) {
    Offer(kEventPenDown, 115, 30);  // the track above the thumb: one page up
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_EQ(Prefs().SoundVol, 30);
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenUp, 115, 30);
    Offer(kEventPenDown, 115, 30);
    EXPECT_EQ(Prefs().SoundVol, 36);
    EXPECT_EQ(theApp.Sound()->GetEffectVolume(), 36);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"538"});
    Offer(kEventPenUp, 115, 30);
}

TEST_F(OptionsTest, CancelPutsBackEverythingIncludingTheMusicHeard) {
    Offer(kEventPenDown, 80, 120);
    Offer(kEventPenHeld, 80, 20);
    Offer(kEventPenUp, 80, 20);
    Tap(115, 200);  // effect one page down
    Tap(150, 40);
    Tap(150, 160);
    EXPECT_EQ(Prefs().MusicVol, 70);
    EXPECT_EQ(Prefs().SoundVol, 24);
    EXPECT_FALSE(Prefs().MenuAnimation);
    EXPECT_TRUE(Prefs().SpecialEffects);
    ForgetSounds();

    Offer(kEventPenDown, 210, 50);
    EXPECT_EQ(Offer(kEventPenUp, 210, 50), kConsumed);
    EXPECT_EQ(Prefs().MusicVol, 30);
    EXPECT_EQ(Prefs().SoundVol, 30);
    EXPECT_EQ(theApp.Sound()->GetEffectVolume(), 30);
    EXPECT_TRUE(Prefs().MenuAnimation);
    EXPECT_FALSE(Prefs().SpecialEffects);
    // The loop that played at the slider's volume starts again at the old one.
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"540", "stop", "535 music loop"}));
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_EQ(Scene().Sprites().Count(), 0u);
}

TEST_F(OptionsTest, CancelWithoutMovingTheMusicLeavesItPlaying) {
    Tap(150, 40);
    ForgetSounds();
    const InputEvent escape = [] {
        InputEvent e = Event(kEventCharacter);
        e.payload[0] = kCharEscape;
        return e;
    }();
    event = escape;
    EXPECT_EQ(Views().HandleEvent(event), kConsumed);
    EXPECT_TRUE(Prefs().MenuAnimation);
    EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
}

TEST_F(OptionsTest, OkKeepsTheChangesAndWritesThemEvenUnchanged) {
    Offer(kEventPenDown, 80, 120);
    Offer(kEventPenHeld, 80, 108);
    Offer(kEventPenUp, 80, 108);
    Tap(150, 160);
    Offer(kEventPenDown, 210, 150);
    EXPECT_EQ(Offer(kEventPenUp, 210, 150), kConsumed);
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    {
        Settings stored(*theApp.Sound());
        EXPECT_EQ(stored.MusicVol, 40);
        EXPECT_TRUE(stored.SpecialEffects);
    }
    // Nothing changed this time, and still written: the store's value was changed behind its back.
    Views().SwitchTo(kViewOptions, true);
    Offer(kEventIdle, 0, 0);
    {
        Settings stored(*theApp.Sound());
        stored.MusicVol = 5;
        stored.Save();
    }
    Offer(kEventPenDown, 210, 150);
    Offer(kEventPenUp, 210, 150);
    Settings stored(*theApp.Sound());
    EXPECT_EQ(stored.MusicVol, 40);
}

TEST_F(OptionsTest, ASecondVisitStartsFromTheSettingsAgain) {
    Tap(150, 40);
    Tap(210, 150);
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    Prefs().MusicVol = 0;
    Views().SwitchTo(kViewOptions, true);
    Offer(kEventIdle, 0, 0);
    EXPECT_EQ(Scene().Sprites().Count(), 8u);  // two tracks, two thumbs, four controls
    // The thumb sits at the bottom now: a tap there drags, nothing pages.
    ForgetSounds();
    Offer(kEventPenDown, 80, 200);
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenHeld, 80, 186);
    EXPECT_EQ(Prefs().MusicVol, 1);
}

}  // namespace
