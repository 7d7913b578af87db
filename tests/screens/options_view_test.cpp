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
        Open(kViewOptions);
    }
    // Offers one event through the view list and keeps what became of it.
    int Offer(uint32_t type, int16_t x, int16_t y) {
        event = Event(type, x, y);
        return Views().HandleEvent(event);
    }
    void Drag(int16_t x, int16_t fromY, int16_t toY) {
        Offer(kEventPenDown, x, fromY);
        Offer(kEventPenHeld, x, toY);
        Offer(kEventPenUp, x, toY);
    }
    static int32_t StoredMusic() { return Settings(*theApp.Sound()).MusicVol; }

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
    EXPECT_EQ(Sounds(), (Strings{"stop", "535 music loop"}));
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
    EXPECT_EQ(Sounds(), Strings{"538"});
    Offer(kEventPenUp, 115, 30);
}

// Cancel by its button after moving the music, by Escape without.
TEST_F(OptionsTest, CancelPutsBackEverythingAndRestartsTheMusicOnlyWhenItWasMoved) {
    for (const bool moved : {true, false}) {
        if (moved) {
            Drag(80, 120, 20);
            Tap(nullptr, 115, 200);  // effect one page down
            Tap(nullptr, 150, 40);
            Tap(nullptr, 150, 160);
            EXPECT_EQ(Prefs().MusicVol, 70);
            EXPECT_EQ(Prefs().SoundVol, 24);
            EXPECT_FALSE(Prefs().MenuAnimation);
            EXPECT_TRUE(Prefs().SpecialEffects);
            ForgetSounds();
            Offer(kEventPenDown, 210, 50);
            EXPECT_EQ(Offer(kEventPenUp, 210, 50), kConsumed);
            EXPECT_EQ(Sounds(), (Strings{"540", "stop", "535 music loop"}));
        } else {
            Open(kViewOptions);
            Tap(nullptr, 150, 40);
            ForgetSounds();
            EXPECT_EQ(Char(nullptr, kCharEscape), kConsumed);
            EXPECT_EQ(Sounds(), Strings{"540"});
        }
        EXPECT_EQ(Prefs().MusicVol, 30);
        EXPECT_EQ(Prefs().SoundVol, 30);
        EXPECT_EQ(theApp.Sound()->GetEffectVolume(), 30);
        EXPECT_TRUE(Prefs().MenuAnimation);
        EXPECT_FALSE(Prefs().SpecialEffects);
        EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
        EXPECT_EQ(Scene().Sprites().Count(), 0u);
    }
}

TEST_F(OptionsTest, OkKeepsTheChangesAndWritesThemEvenUnchangedAndTheNextVisitStartsFromThem) {
    Drag(80, 120, 108);
    Tap(nullptr, 150, 160);
    Offer(kEventPenDown, 210, 150);
    EXPECT_EQ(Offer(kEventPenUp, 210, 150), kConsumed);
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_EQ(StoredMusic(), 40);
    EXPECT_TRUE(Settings(*theApp.Sound()).SpecialEffects);
    // Nothing changed this time, and still written: the store's value was changed behind its back.
    Open(kViewOptions);
    {
        Settings stored(*theApp.Sound());
        stored.MusicVol = 5;
        stored.Save();
    }
    Tap(nullptr, 210, 150);
    EXPECT_EQ(StoredMusic(), 40);
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);

    Prefs().MusicVol = 0;
    Open(kViewOptions);
    EXPECT_EQ(Scene().Sprites().Count(), 8u);  // two tracks, two thumbs, four controls
    // The thumb sits at the bottom now: a tap there drags, nothing pages.
    Offer(kEventPenDown, 80, 200);
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenHeld, 80, 186);
    EXPECT_EQ(Prefs().MusicVol, 1);
}

}  // namespace
