// The screens that change what is kept: options, name entry and results.
#include <cstring>
#include <string>

#include "screens/name_entry_view.h"
#include "screens/options_view.h"
#include "screens/results_view.h"
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
        event = InputEvent{type, x, y, 0, {}};
        return Views().HandleEvent(event);
    }
    void Drag(int16_t x, int16_t fromY, int16_t toY) {
        Offer(kEventPenDown, x, fromY);
        Offer(kEventPenHeld, x, toY);
        Offer(kEventPenUp, x, toY);
    }
    static int32_t StoredMusic() { return Settings(*theApp.Sound()).MusicVol; }
    // The options as "music/sound (the effect volume) animation effects".
    static std::string Shown() {
        return std::to_string(Prefs().MusicVol) + "/" + std::to_string(Prefs().SoundVol) + " (" + std::to_string(theApp.Sound()->GetEffectVolume()) +
               ") " + std::to_string(Prefs().MenuAnimation) + " " + std::to_string(Prefs().SpecialEffects);
    }

    OptionsView options;
    InputEvent event{};
};

TEST_F(OptionsTest, TheEffectSliderPlaysItsSoundOnceTheFirstTapIsSwallowedTheMusicSliderRestartsTheMusic) {
    Offer(kEventPenDown, 115, 30);  // the track above the thumb: one page up
    EXPECT_TRUE(event.type == kEventIdle && Prefs().SoundVol == 30 && Sounds().empty());
    Offer(kEventPenUp, 115, 30);
    Offer(kEventPenDown, 115, 30);
    EXPECT_TRUE(Shown() == "30/36 (36) 1 0" && Sounds() == Strings{"538"}) << Shown();
    Offer(kEventPenUp, 115, 30);
    EXPECT_EQ(Offer(kEventPenDown, 80, 120), kNotConsumed);  // on the music thumb at 30
    EXPECT_TRUE(event.type == kEventIdle && Sounds().empty());
    EXPECT_EQ(Offer(kEventPenHeld, 80, 108), kNotConsumed);  // aims at 40
    EXPECT_TRUE(event.type == kEventIdle && Prefs().MusicVol == 40);
    EXPECT_EQ(Sounds(), (Strings{"stop", "535 music loop"}));
    Offer(kEventPenHeld, 80, 108);  // no new value, nothing heard
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenHeld, 80, 0);  // past the top: the full 70 is kept
    EXPECT_EQ(Prefs().MusicVol, 70);
    Offer(kEventPenUp, 80, 0);
    EXPECT_EQ(event.type, kEventIdle);
}

// Cancel by its button after moving the music, by Escape without.
TEST_F(OptionsTest, CancelPutsBackEverythingRestartingMovedMusicOkKeepsTheChangesWritingThemEvenUnchanged) {
    for (const bool moved : {true, false}) {
        if (moved) {
            Drag(80, 120, 20);
            Tap(nullptr, 115, 200);  // effect one page down
            Tap(nullptr, 150, 40);
            Tap(nullptr, 150, 160);
            EXPECT_EQ(Shown(), "70/24 (24) 0 1");
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
        EXPECT_EQ(Shown(), "30/30 (30) 1 0");
        EXPECT_TRUE(ViewAfterwards() == kViewMainMenu && Scene().Sprites().Count() == 0u);
    }
    // OK keeps the changes and writes them even unchanged; the next visit starts from them.
    Open(kViewOptions);
    Drag(80, 120, 108);
    Tap(nullptr, 150, 160);
    Offer(kEventPenDown, 210, 150);
    EXPECT_EQ(Offer(kEventPenUp, 210, 150), kConsumed);
    EXPECT_TRUE(ViewAfterwards() == kViewMainMenu && StoredMusic() == 40 && Settings(*theApp.Sound()).SpecialEffects);
    // Nothing changed this time, and still written: the store's value was changed behind its back.
    Open(kViewOptions);
    {
        Settings stored(*theApp.Sound());
        stored.MusicVol = 5;
        stored.Save();
    }
    Tap(nullptr, 210, 150);
    EXPECT_TRUE(StoredMusic() == 40 && ViewAfterwards() == kViewMainMenu);

    Prefs().MusicVol = 0;
    Open(kViewOptions);
    EXPECT_EQ(Scene().Sprites().Count(), 8u);  // two tracks, two thumbs, four controls
    // The thumb sits at the bottom now: a tap there drags, nothing pages.
    Offer(kEventPenDown, 80, 200);
    EXPECT_TRUE(Sounds().empty());
    Offer(kEventPenHeld, 80, 186);
    EXPECT_EQ(Prefs().MusicVol, 1);
}

class NameEntryTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(entry, kViewNameEntry);
        Stand(kViewMainMenu);
        Views().Start(kViewMainMenu);
        spritesBefore = Scene().Sprites().Count();
        Open(kViewNameEntry);
    }
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) EXPECT_EQ(Char(nullptr, static_cast<uint8_t>(*c)), kConsumed);
    }
    int32_t FieldMiddle() const { return entry.Field().sprite.y + static_cast<int32_t>(entry.Field().sprite.height) / 2; }

    NameEntryView entry;
    uint32_t spritesBefore = 0;  // what the screens before left
};

TEST_F(NameEntryTest, KeysEnterCentredCharactersBackspaceWipesANinthChangesNothingAndOnlyOkWithTextOrABlankStores) {
    Type("WWWW");
    const int32_t oldTop = entry.Field().sprite.y;
    Tap(nullptr, 210, 229);  // backspace key
    Tap(nullptr, 210, 229);
    EXPECT_TRUE(std::string(entry.Name()) == "WW" && std::abs(FieldMiddle() - 160) <= 1);
    ASSERT_GT(entry.Field().sprite.y, oldTop + 2);
    gfx::Picture background;
    gfx::LoadPicture(background, 502, 240, 320);
    for (int32_t x = 18; x < 36; ++x) EXPECT_EQ(Pixel(x, oldTop + 1), background.surface->At(x, oldTop + 1));
    Tap(nullptr, 210, 229);
    Tap(nullptr, 210, 229);
    ForgetSounds();
    for (const auto& [x, y] : {std::pair{69, 297}, {176, 263}, {210, 263}, {137, 41}, {20, 20}}) {  // A 2 space Z, beside
        EXPECT_EQ(Tap(nullptr, static_cast<int16_t>(x), static_cast<int16_t>(y)), kConsumed);
    }
    EXPECT_EQ(Sounds(), (Strings{"540", "540", "540", "540"}));
    EXPECT_TRUE(std::string(entry.Name()) == "A2aZ" && entry.Field().sprite.x == 18 && std::abs(FieldMiddle() - 160) <= 1);
    Type("bcdefgh");
    const uint32_t height = entry.Field().sprite.height;
    Type("i9");
    EXPECT_TRUE(std::string(entry.Name()) == "A2aZBCDE" && entry.Field().sprite.height == height);  // typed: capitals
    Char(nullptr, kCharEnter);
    EXPECT_TRUE(std::string(Prefs().UserName) == "A2aZBCDE" && ViewAfterwards() == kViewMainMenu);
    // Cancel and Escape leave the name alone, OK on an empty field too, but a blank left by erasing is stored.
    Open(kViewNameEntry);
    const uint8_t depth = Views().Depth() - 1;
    for (int visit = 0; visit < 10; ++visit) {
        if (visit > 0) Open(kViewNameEntry);
        EXPECT_STREQ(entry.Name(), "");  // every visit starts empty
        Type("NEW");
        if (visit == 0) {
            Tap(nullptr, 215, 130);  // Cancel
        } else {
            Char(nullptr, kCharEscape);
        }
        EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    }
    EXPECT_TRUE(Views().Depth() == depth && std::string(Prefs().UserName) == "A2aZBCDE");
    Open(kViewNameEntry);
    Tap(nullptr, 215, 50);  // OK
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_STREQ(Prefs().UserName, "A2aZBCDE");
    EXPECT_TRUE(Views().Depth() == depth && Scene().Sprites().Count() == spritesBefore);  // back, not forward

    Open(kViewNameEntry);
    Type("Q");
    const int32_t y = entry.Field().sprite.y;
    Char(nullptr, kCharBackspace);
    EXPECT_TRUE(std::string(entry.Name()) == "a" && entry.Field().sprite.y == y);  // not centred again
    Char(nullptr, kCharBackspace);  // nothing left to erase
    EXPECT_STREQ(entry.Name(), "a");
    Tap(nullptr, 215, 50);
    EXPECT_STREQ(Prefs().UserName, "a");
}

class ResultsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(results, kViewResults);
        Stand(kViewMainMenu);
        Stand(kViewHunt);
        std::strcpy(Prefs().UserName, "ROBIN");
        Prefs().highScores->Clear();
    }
    // Entries that are not the newest hunt's.
    static void AddScores(std::initializer_list<int32_t> scores) {
        for (int32_t score : scores) {
            HighScoreEntry entry{false, score, 0, 0, ""};
            std::snprintf(entry.name, sizeof entry.name, "P%d", static_cast<int>(score));
            Prefs().highScores->Insert(entry);
        }
        Prefs().highScores->Insert(HighScoreEntry{});
    }
    static void FinishHunt(int32_t score) {
        Prefs().resultScore = score;
        Prefs().resultPending = true;
    }
    void OpenFrom(uint8_t from) {
        Views().Start(from);
        Open(kViewResults);
    }
    // The table as the store holds it.
    static int32_t StoredCount() {
        HighScoreTable stored;
        stored.Load();
        return stored.CountUsed();
    }
    // Queues the popup's own reading of a tap.
    static void Answer(int32_t x, int32_t y) {
        const uint32_t at = static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16);
        plat::testing::PushMessage({plat::kMsgPenDown, 0, at});
        plat::testing::PushMessage({plat::kMsgPenUp, 0, at});
    }

    ResultsView results;
};

TEST_F(ResultsTest, TheWaitingScoreWaitsForANameThenGoesInOnceIsMarkedAndStored) {
    AddScores({300, 100});
    FinishHunt(200);
    Prefs().UserName[0] = '\0';
    OpenFrom(kViewHunt);
    EXPECT_EQ(std::pair(Prefs().resultPending, Prefs().highScores->CountUsed()), std::pair(true, 2));
    Tap(nullptr, 210, 30);
    std::strcpy(Prefs().UserName, "ROBIN");
    OpenFrom(kViewHunt);
    HighScoreTable& table = *Prefs().highScores;
    ASSERT_TRUE(!Prefs().resultPending && StoredCount() == 3 && table.CountUsed() == 3);  // stored as it entered
    // Sorted for showing: the new one in the middle, with the marker on its row.
    EXPECT_EQ(std::to_string(table.GetEntry(1).score) + (table.GetEntry(1).isNew ? "*" : "") + table.GetEntry(1).name, "200*ROBIN");
    EXPECT_TRUE(Shows(506, 20, 20, 98, 280) && !Shows(506, 20, 20, 80, 280));

    // Leaving after a hunt saves the table again, Escape as the button does.
    Prefs().highScores->Clear();
    EXPECT_EQ(Char(nullptr, kCharEscape), kConsumed);
    EXPECT_TRUE(StoredCount() == 0 && ViewAfterwards() == kViewHunt);
    OpenFrom(kViewMainMenu);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 0);
}

TEST_F(ResultsTest, ATapTurnsThePageWithFourOrMoreEntriesNotOnTheStatisticsAndClearingAsksFirst) {
    AddScores({5, 4, 3});
    OpenFrom(kViewMainMenu);
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    AddScores({2});
    const uint32_t sprites = Scene().Sprites().Count();
    const int controls = results.ControlCount();
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 5);
    Tap(nullptr, 50, 50);  // redrawing the same page adds no buttons
    EXPECT_TRUE(results.FirstRow() == 0 && results.ControlCount() == controls && Scene().Sprites().Count() == sprites);
    // The statistics page disables clearing, and taps do nothing there.
    AddScores({9});
    ForgetSounds();
    EXPECT_EQ(Tap(nullptr, 210, 200), kConsumed);  // statistics
    EXPECT_EQ(Sounds(), Strings{"540"});
    Tap(nullptr, 50, 50);
    EXPECT_TRUE(results.ShowingStatistics() && results.FirstRow() == 0);
    EXPECT_EQ(Tap(nullptr, 210, 100), kNotConsumed);  // clear is disabled here
    EXPECT_TRUE(Sounds().empty() && Prefs().highScores->CountUsed() == 5);
    EXPECT_EQ(Tap(nullptr, 210, 200), kConsumed);  // the same place goes back to the table
    EXPECT_TRUE(!results.ShowingStatistics() && results.ControlCount() == 3);
    // Clearing asks first, and reaches the store only with the next save.
    Prefs().highScores->Save();
    ForgetSounds();
    for (const auto& [y, left] : {std::pair{100, 5}, {200, 0}}) {  // no, then yes
        Answer(150, y);
        EXPECT_TRUE(Tap(nullptr, 210, 100) == kConsumed && Prefs().highScores->CountUsed() == left) << y;
    }
    EXPECT_EQ(Sounds(), (Strings{"540", "540", "540", "540"}));
    Tap(nullptr, 210, 30);  // reached from the menu, leaving saves nothing
    EXPECT_TRUE(ViewAfterwards() == kViewMainMenu && StoredCount() == 5);
}

// A second copy of the program ends without creating anything.
TEST_F(ResultsTest, AScoreStillWaitingAtShutDownIsEnteredAndSavedWithTheSettings) {
    GameApp second;
    EXPECT_TRUE(!second.Initialise() && second.Views() == nullptr);
    AddScores({50});
    FinishHunt(70);
    theApp.Shutdown();
    EXPECT_EQ(theApp.GetSettings(), nullptr);
    plat::testing::CloseStore();  // as if the program had ended
    plat::testing::Reset();
    ASSERT_TRUE(theApp.Initialise());
    EXPECT_STREQ(Prefs().UserName, "ROBIN");
    HighScoreTable& table = *Prefs().highScores;
    ASSERT_EQ(table.CountUsed(), 2);
    table.Sort();
    EXPECT_EQ(std::to_string(table.GetEntry(0).score) + table.GetEntry(0).name, "70ROBIN");
}

}  // namespace
