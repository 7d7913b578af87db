// The results screen: the waiting score entered once, the table's pages and
// order, the statistics page, clearing through the popup, and what is saved.
#include "screens/results_view.h"

#include <cstring>

#include "tests/screens/screen_fixture.h"

namespace {

plat::Message PenMessage(uint32_t id, int32_t x, int32_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16)};
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

    void AddScores(std::initializer_list<int32_t> scores) {
        for (int32_t score : scores) {
            HighScoreEntry entry{};
            entry.score = score;
            std::snprintf(entry.name, sizeof entry.name, "P%d", static_cast<int>(score));
            Prefs().highScores->Insert(entry);
        }
        // None of these is the newest hunt.
        HighScoreEntry none{};
        Prefs().highScores->Insert(none);
    }
    void FinishHunt(int32_t score) {
        Prefs().resultScore = score;
        Prefs().resultPending = true;
    }
    void OpenFrom(uint8_t from) {
        Views().Start(from);
        Views().SwitchTo(kViewResults, true);
        Dispatch(Event(kEventIdle));
        ASSERT_EQ(Views().Current(), kViewResults);
        ForgetSounds();
    }
    int Dispatch(InputEvent event) { return Views().HandleEvent(event); }
    int Tap(int16_t x, int16_t y) {
        Dispatch(Event(kEventPenDown, x, y));
        return Dispatch(Event(kEventPenUp, x, y));
    }
    uint8_t ViewAfterwards() {
        Dispatch(Event(kEventIdle));
        return Views().Current();
    }
    // The table as the store holds it.
    static int32_t StoredCount() {
        HighScoreTable stored;
        stored.Load();
        return stored.CountUsed();
    }

    ResultsView results;
};

TEST_F(ResultsTest, TheWaitingScoreWaitsForANameThenGoesInOnceAndIsMarked) {
    AddScores({300, 100});
    FinishHunt(200);
    Prefs().UserName[0] = '\0';
    OpenFrom(kViewHunt);
    EXPECT_TRUE(Prefs().resultPending);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 2);
    Tap(210, 30);
    std::strcpy(Prefs().UserName, "ROBIN");
    OpenFrom(kViewHunt);
    EXPECT_FALSE(Prefs().resultPending);
    HighScoreTable& table = *Prefs().highScores;
    ASSERT_EQ(table.CountUsed(), 3);
    // Sorted for showing: the new one in the middle, with the marker on its row.
    EXPECT_EQ(table.GetEntry(1).score, 200);
    EXPECT_TRUE(table.GetEntry(1).isNew);
    EXPECT_STREQ(table.GetEntry(1).name, "ROBIN");
    gfx::Picture marker;
    gfx::LoadPicture(marker, 506, 20, 20);
    EXPECT_EQ(Pixel(98 + 10, 280 + 10), marker.surface->At(10, 10));
    EXPECT_NE(Pixel(80 + 10, 280 + 10), marker.surface->At(10, 10));
    gfx::FreePicture(marker);

    Tap(210, 30);  // leave
    EXPECT_EQ(ViewAfterwards(), kViewHunt);
    OpenFrom(kViewMainMenu);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 3);
}

TEST_F(ResultsTest, ATapTurnsThePageOnlyWithFourOrMoreEntries) {
    AddScores({5, 4, 3});
    OpenFrom(kViewMainMenu);
    Tap(50, 50);
    EXPECT_EQ(results.FirstRow(), 0);

    AddScores({2});
    const uint32_t sprites = Scene().Sprites().Count();
    const int controls = results.ControlCount();
    Tap(50, 50);
    EXPECT_EQ(results.FirstRow(), 5);
    Tap(50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    // Redrawing the same page adds no buttons.
    EXPECT_EQ(results.ControlCount(), controls);
    EXPECT_EQ(Scene().Sprites().Count(), sprites);
}

TEST_F(ResultsTest, TheStatisticsPageDisablesClearingAndTapsDoNothing) {
    AddScores({9, 8, 7, 6, 5});
    OpenFrom(kViewMainMenu);
    EXPECT_EQ(Tap(210, 200), kConsumed);  // statistics
    EXPECT_EQ(Sounds(), std::vector<std::string>{"540"});
    EXPECT_TRUE(results.ShowingStatistics());
    Tap(50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    EXPECT_EQ(Tap(210, 100), kNotConsumed);  // clear is disabled here
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(Prefs().highScores->CountUsed(), 5);
    // The same place now goes back to the table.
    EXPECT_EQ(Tap(210, 200), kConsumed);
    EXPECT_FALSE(results.ShowingStatistics());
    EXPECT_EQ(results.ControlCount(), 3);
}

TEST_F(ResultsTest, ClearingAsksFirstAndReachesTheStoreOnlyWithTheNextSave) {
    AddScores({9, 8});
    Prefs().highScores->Save();
    OpenFrom(kViewMainMenu);

    // The popup reads its own answer: no first.
    plat::testing::PushMessage(PenMessage(plat::kMsgPenDown, 150, 100));
    plat::testing::PushMessage(PenMessage(plat::kMsgPenUp, 150, 100));
    EXPECT_EQ(Tap(210, 100), kConsumed);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 2);

    plat::testing::PushMessage(PenMessage(plat::kMsgPenDown, 150, 200));
    plat::testing::PushMessage(PenMessage(plat::kMsgPenUp, 150, 200));
    EXPECT_EQ(Tap(210, 100), kConsumed);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 0);
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"540", "540", "540", "540"}));

    // Reached from the menu, leaving saves nothing.
    Tap(210, 30);
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_EQ(StoredCount(), 2);
}

TEST_F(ResultsTest, AScoreIsStoredAsItEntersAndTheTableAgainOnLeavingAfterAHunt) {
    FinishHunt(120);
    OpenFrom(kViewHunt);
    EXPECT_EQ(StoredCount(), 1);
    Prefs().highScores->Clear();
    InputEvent escape = Event(kEventCharacter);
    escape.payload[0] = kCharEscape;
    EXPECT_EQ(Dispatch(escape), kConsumed);
    EXPECT_EQ(StoredCount(), 0);
    EXPECT_EQ(ViewAfterwards(), kViewHunt);
}

TEST_F(ResultsTest, AScoreStillWaitingAtShutDownIsEnteredAndSaved) {
    AddScores({50});
    FinishHunt(70);
    theApp.Shutdown();
    plat::testing::CloseStore();  // as if the program had ended
    plat::testing::Reset();
    ASSERT_TRUE(theApp.Initialise());
    HighScoreTable& table = *Prefs().highScores;
    ASSERT_EQ(table.CountUsed(), 2);
    table.Sort();
    EXPECT_EQ(table.GetEntry(0).score, 70);
    EXPECT_STREQ(table.GetEntry(0).name, "ROBIN");
}

}  // namespace
