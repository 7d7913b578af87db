// The results screen: the waiting score entered once, the table's pages and
// order, the statistics page, clearing through the popup, and what is saved.
#include "screens/results_view.h"

#include <cstring>

#include "tests/screens/screen_fixture.h"

namespace {

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
    EXPECT_TRUE(Prefs().resultPending);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 2);
    Tap(nullptr, 210, 30);
    std::strcpy(Prefs().UserName, "ROBIN");
    OpenFrom(kViewHunt);
    EXPECT_FALSE(Prefs().resultPending);
    EXPECT_EQ(StoredCount(), 3);  // stored as it entered
    HighScoreTable& table = *Prefs().highScores;
    ASSERT_EQ(table.CountUsed(), 3);
    // Sorted for showing: the new one in the middle, with the marker on its row.
    EXPECT_EQ(table.GetEntry(1).score, 200);
    EXPECT_TRUE(table.GetEntry(1).isNew);
    EXPECT_STREQ(table.GetEntry(1).name, "ROBIN");
    EXPECT_TRUE(Shows(506, 20, 20, 98, 280));
    EXPECT_FALSE(Shows(506, 20, 20, 80, 280));

    // Leaving after a hunt saves the table again, Escape as the button does.
    Prefs().highScores->Clear();
    EXPECT_EQ(Char(nullptr, kCharEscape), kConsumed);
    EXPECT_EQ(StoredCount(), 0);
    EXPECT_EQ(ViewAfterwards(), kViewHunt);
    OpenFrom(kViewMainMenu);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 0);
}

TEST_F(ResultsTest, ATapTurnsThePageOnlyWithFourOrMoreEntries) {
    AddScores({5, 4, 3});
    OpenFrom(kViewMainMenu);
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    AddScores({2});
    const uint32_t sprites = Scene().Sprites().Count();
    const int controls = results.ControlCount();
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 5);
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    // Redrawing the same page adds no buttons.
    EXPECT_EQ(results.ControlCount(), controls);
    EXPECT_EQ(Scene().Sprites().Count(), sprites);
}

TEST_F(ResultsTest, TheStatisticsPageDisablesClearingAndTapsDoNothing) {
    AddScores({9, 8, 7, 6, 5});
    OpenFrom(kViewMainMenu);
    EXPECT_EQ(Tap(nullptr, 210, 200), kConsumed);  // statistics
    EXPECT_EQ(Sounds(), Strings{"540"});
    EXPECT_TRUE(results.ShowingStatistics());
    Tap(nullptr, 50, 50);
    EXPECT_EQ(results.FirstRow(), 0);
    EXPECT_EQ(Tap(nullptr, 210, 100), kNotConsumed);  // clear is disabled here
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(Prefs().highScores->CountUsed(), 5);
    EXPECT_EQ(Tap(nullptr, 210, 200), kConsumed);  // the same place goes back to the table
    EXPECT_FALSE(results.ShowingStatistics());
    EXPECT_EQ(results.ControlCount(), 3);
}

TEST_F(ResultsTest, ClearingAsksFirstAndReachesTheStoreOnlyWithTheNextSave) {
    AddScores({9, 8});
    Prefs().highScores->Save();
    OpenFrom(kViewMainMenu);
    Answer(150, 100);  // no
    EXPECT_EQ(Tap(nullptr, 210, 100), kConsumed);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 2);
    Answer(150, 200);  // yes
    EXPECT_EQ(Tap(nullptr, 210, 100), kConsumed);
    EXPECT_EQ(Prefs().highScores->CountUsed(), 0);
    EXPECT_EQ(Sounds(), (Strings{"540", "540", "540", "540"}));
    Tap(nullptr, 210, 30);  // reached from the menu, leaving saves nothing
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_EQ(StoredCount(), 2);
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
