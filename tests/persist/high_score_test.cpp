#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>
#include <string>

#include "persist/high_score_table.h"
#include "platform/platform.h"
#include "tests/persist/store_fixture.h"

namespace {

HighScoreEntry Entry(int32_t score, const char* name) {
    HighScoreEntry entry{true, score, 0, 0, ""};
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    return entry;
}

std::string Describe(const HighScoreTable& table) {
    std::string out;
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        const HighScoreEntry e = table.GetEntry(i);
        out += std::to_string(e.score) + ":" + e.name + (e.isNew ? "*" : "") + " ";
    }
    return out;
}

int CountNew(const HighScoreTable& table) {
    int marked = 0;
    for (int32_t i = 0; i < kHighScoreCount; ++i) marked += table.GetEntry(i).isNew ? 1 : 0;
    return marked;
}

// The table full with 1000, 900, ... 200, and `last` at 500 after sorting.
HighScoreTable FullTable(const char* last) {
    HighScoreTable table;
    const int32_t scores[] = {1000, 900, 800, 700, 600, 550, 520, 510, 505};
    for (const int32_t score : scores) EXPECT_TRUE(table.Insert(Entry(score, "PAT")));
    EXPECT_TRUE(table.Insert(Entry(500, last)));
    EXPECT_EQ(table.CountUsed(), 10);
    return table;
}

using HighScoreTableTest = StoreTest;

TEST_F(HighScoreTableTest, FirstRunCreatesTenEmptyRecordsOfFiveProperties) {
    HighScoreTable table;
    table.CreateIfMissing();
    table.Load();
    EXPECT_EQ(table.CountUsed(), 0);
    EXPECT_TRUE(Messages().empty());
    Restart();

    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    ASSERT_NE(db, plat::kNoDatabase);
    uint32_t last = 0;
    ASSERT_NE(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &last), 0u);
    EXPECT_EQ(last, 9u);
    plat::SeekDatabase(db, plat::SeekFrom::kBeginning);
    for (int record = 0; record < 10; ++record) {
        plat::DbProp* props = nullptr;
        uint16_t count = 0;
        ASSERT_NE(plat::ReadRecord(db, props, count), 0u);
        ASSERT_EQ(count, 5u);
        EXPECT_EQ(props[0].id, 0x0000000Bu);
        EXPECT_EQ(props[1].id, 0x00010003u);
        EXPECT_EQ(props[2].id, 0x00020003u);
        EXPECT_EQ(props[3].id, 0x00030003u);
        EXPECT_EQ(props[4].id, 0x0004001Fu);
        for (int p = 0; p < 4; ++p) EXPECT_EQ(props[p].number, 0);
        EXPECT_STREQ(props[4].text, "");
        plat::FreeRecord(props);
        plat::SeekDatabase(db, plat::SeekFrom::kNext);
    }
    plat::CloseDatabase(db);
}

TEST_F(HighScoreTableTest, SecondRunCreatesNothingAndReadsTheTenRecords) {
    {
        HighScoreTable table;
        table.CreateIfMissing();
        HighScoreEntry odd = Entry(-40, "NEGATIVE");
        odd.reserved1 = 11;
        odd.reserved2 = -12;
        ASSERT_TRUE(table.Insert(Entry(300, "ROBIN")));
        ASSERT_TRUE(table.Insert(odd));
        table.Save();
    }
    Restart();
    HighScoreTable table;
    table.CreateIfMissing();
    table.Load();
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(Describe(table), "300:ROBIN -40:NEGATIVE* 0: 0: 0: 0: 0: 0: 0: 0: ");
    EXPECT_EQ(table.GetEntry(1).reserved1, 11);
    EXPECT_EQ(table.GetEntry(1).reserved2, -12);
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    uint32_t last = 0;
    plat::SeekDatabase(db, plat::SeekFrom::kEnd, &last);
    EXPECT_EQ(last, 9u);
    plat::CloseDatabase(db);
}

TEST_F(HighScoreTableTest, ClearReachesTheDatabaseOnlyWithSave) {
    HighScoreTable table;
    table.CreateIfMissing();
    ASSERT_TRUE(table.Insert(Entry(300, "ROBIN")));
    table.Save();
    table.Clear();
    EXPECT_EQ(table.CountUsed(), 0);
    HighScoreTable before;
    before.Load();
    EXPECT_EQ(before.GetEntry(0).score, 300);
    table.Save();
    HighScoreTable after;
    after.Load();
    EXPECT_EQ(after.CountUsed(), 0);
}

TEST_F(HighScoreTableTest, LoadTakesTheFirstTenRecordsAndCutsLongNames) {
    ASSERT_NE(plat::CreateDatabase("HISCORE", 1), 0u);
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    for (int32_t i = 0; i < 12; ++i) {
        // Positions that mean nothing are passed over.
        const plat::DbProp props[] = {{plat::PropId(4, plat::kPropString), 0, "ABCDEFGHIJKLMN"},
                                      {plat::PropId(0, plat::kPropNumber), 77, nullptr},
                                      {plat::PropId(1, plat::kPropNumber), 100 - i, nullptr},
                                      {plat::PropId(0, plat::kPropBool), i == 3 ? -1 : 0, nullptr}};
        ASSERT_NE(plat::WriteRecord(db, 0, props, 4), 0u);
    }
    plat::CloseDatabase(db);

    HighScoreTable table;
    table.Load();
    EXPECT_EQ(table.CountUsed(), 10);
    for (int32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(table.GetEntry(i).score, 100 - i);
        EXPECT_STREQ(table.GetEntry(i).name, "ABCDEFGHI");
        EXPECT_EQ(table.GetEntry(i).reserved1, 0);
        EXPECT_EQ(table.GetEntry(i).isNew, i == 3);
    }
}

TEST_F(HighScoreTableTest, AMissingDatabaseLeavesTheTableEmptyAndSaveSaysSo) {
    HighScoreTable table;
    ASSERT_TRUE(table.Insert(Entry(5, "ANNA")));
    table.Load();
    EXPECT_EQ(table.GetEntry(0).score, 5);
    EXPECT_TRUE(Messages().empty());
    table.Save();
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text, "No database exists with the specified name.");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].flags, plat::kMbIconStop);
}

// Filler names that sort after each other and before "HISCORE", so every one
// lands at the end of the same pages a new "HISCORE" row would need.
std::string FillerName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "A%06d", i);
    return name;
}

TEST_F(HighScoreTableTest, AFullStoreIsReportedWhenCreating) {
    plat::testing::LimitStorePages(1);
    int made = 0;
    while (plat::CreateDatabase(FillerName(made).c_str(), 1) != 0 && made < 100000) ++made;
    ASSERT_EQ(plat::StoreLastError(), plat::kStoreDiskFull);
    HighScoreTable table;
    table.CreateIfMissing();
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text, "Unable to create HiScore database!");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].flags, plat::kMbIconStop);
}

TEST_F(HighScoreTableTest, SavingIntoAFullStoreIsReportedAndKeepsWhatWasThere) {
    // A table of one record, and a second database whose records fill the file.
    ASSERT_NE(plat::CreateDatabase("HISCORE", 1), 0u);
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    const plat::DbProp old[] = {{plat::PropId(1, plat::kPropNumber), 70, nullptr},
                                {plat::PropId(4, plat::kPropString), 0, "OLD"}};
    ASSERT_NE(plat::WriteRecord(db, 0, old, 2), 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    ASSERT_NE(plat::CreateDatabase("FILLER", 1), 0u);
    plat::testing::LimitStorePages(1);
    // One record per batch, so that a refused one takes no others with it;
    // long strings first, then short ones for the last gaps.
    for (const size_t length : {40, 1}) {
        const std::string text(length, 'f');
        const plat::DbProp props[] = {{plat::PropId(4, plat::kPropString), 0, text.c_str()}};
        for (int written = 0; written < 100000; ++written) {
            const plat::DbHandle filler = plat::OpenDatabase("FILLER");
            const bool ok = plat::WriteRecord(filler, 0, props, 1) != 0 && plat::CloseDatabase(filler);
            if (!ok) break;
        }
        ASSERT_EQ(plat::StoreLastError(), plat::kStoreDiskFull);
    }
    plat::testing::Reset();

    HighScoreTable table;
    table.Load();
    ASSERT_EQ(table.CountUsed(), 1);
    for (int i = 0; i < 9; ++i) ASSERT_TRUE(table.Insert(Entry(100 + i, "LONGNAME")));
    table.Save();
    // The nine new records cannot be made (the first may or may not fit); each says so.
    EXPECT_GE(Messages().size(), 9u);
    EXPECT_LE(Messages().size(), 10u);
    for (const auto& box : plat::testing::MessageBoxes()) {
        EXPECT_EQ(box.text, "Disk is full!");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.flags, plat::kMbOk);
    }
    Restart();
    HighScoreTable reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.CountUsed(), 1);
    EXPECT_EQ(reloaded.GetEntry(0).score, 70);
    EXPECT_STREQ(reloaded.GetEntry(0).name, "OLD");
}

TEST(HighScoreSort, ScoresDescendThenNamesAscendAndEmptiesSitBetweenSigns) {
    plat::testing::Reset();
    HighScoreTable table;
    ASSERT_TRUE(table.Insert(Entry(-5, "NEG")));
    ASSERT_TRUE(table.Insert(Entry(50, "BOB")));
    ASSERT_TRUE(table.Insert(Entry(50, "ADAM")));
    ASSERT_TRUE(table.Insert(Entry(80, "ZED")));
    ASSERT_TRUE(table.Insert(Entry(50, "ANNA")));
    table.Sort();
    EXPECT_EQ(Describe(table), "80:ZED 50:ADAM 50:ANNA* 50:BOB 0: 0: 0: 0: 0: -5:NEG ");
    EXPECT_EQ(table.CountUsed(), 4);
}

TEST(HighScoreInsert, AZeroScoreIsRefusedWhileThereIsRoom) {
    plat::testing::Reset();
    HighScoreTable table;
    EXPECT_FALSE(table.Insert(Entry(0, "ZERO")));
    EXPECT_EQ(table.CountUsed(), 0);
    ASSERT_TRUE(table.Insert(Entry(10, "TEN")));
    EXPECT_FALSE(table.Insert(Entry(0, "ZERO")));
    EXPECT_EQ(table.CountUsed(), 1);
}

TEST(HighScoreInsert, AFullTableTakesOnlyWhatBeatsItsLastEntry) {
    plat::testing::Reset();
    HighScoreTable bob = FullTable("BOB");
    EXPECT_FALSE(bob.Insert(Entry(400, "ANNA")));
    EXPECT_EQ(bob.GetEntry(9).score, 500);
    EXPECT_TRUE(bob.Insert(Entry(500, "ANNA")));
    EXPECT_STREQ(bob.GetEntry(9).name, "ANNA");
    EXPECT_TRUE(bob.GetEntry(9).isNew);

    HighScoreTable adam = FullTable("ADAM");
    EXPECT_FALSE(adam.Insert(Entry(500, "ANNA")));
    EXPECT_STREQ(adam.GetEntry(9).name, "ADAM");
    EXPECT_TRUE(adam.Insert(Entry(501, "ZZZ")));
    EXPECT_EQ(adam.GetEntry(9).score, 501);
    EXPECT_EQ(Describe(adam).rfind("1000:PAT 900:PAT", 0), 0u);
}

TEST(HighScoreInsert, EachInsertionLeavesExactlyOneNewEntry) {
    plat::testing::Reset();
    HighScoreTable table;
    // The negative entry sorts below the empty ones, out of the used run.
    ASSERT_TRUE(table.Insert(Entry(-5, "NEG")));
    table.Sort();
    const int32_t scores[] = {40, 30, 90, 10, 20, 70, 60, 80, 50, 15, 95};
    for (const int32_t score : scores) {
        ASSERT_TRUE(table.Insert(Entry(score, "P")));
        EXPECT_EQ(CountNew(table), 1) << Describe(table);
        table.Sort();
    }
    EXPECT_EQ(Describe(table), "95:P* 90:P 80:P 70:P 60:P 50:P 40:P 30:P 20:P 15:P ");
}

TEST(HighScoreEntryAccess, AnIndexOutOfRangeIsReportedAndGivesAnEmptyEntry) {
    plat::testing::Reset();
    HighScoreTable table;
    ASSERT_TRUE(table.Insert(Entry(10, "TEN")));
    EXPECT_EQ(table.GetEntry(9).score, 0);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
    for (const int32_t index : {10, -1}) {
        const HighScoreEntry entry = table.GetEntry(index);
        EXPECT_TRUE(entry.IsEmpty());
        EXPECT_FALSE(entry.isNew);
    }
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 2u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text, "This Number of record is bigger than is permitted");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].caption, "Error");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].flags, plat::kMbIconStop);
}

TEST(PropertyValue, OwnsItsStringAndRefusesVeryLongOnes) {
    plat::testing::Reset();
    CCeDbProp prop;
    char name[] = "ROBIN";
    prop.SetText(4, name);
    name[0] = 'X';
    const CCeDbProp copy = prop;
    prop.SetText(4, nullptr);
    EXPECT_STREQ(copy.Value().text, "ROBIN");
    EXPECT_STREQ(prop.Value().text, "");
    prop.SetNumber(4, 3);
    EXPECT_EQ(prop.Value().text, nullptr);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());

    const std::string tooLong(CCeDbProp::kMaxText, 'L');
    prop.SetText(4, tooLong.c_str());
    EXPECT_EQ(std::strlen(prop.Value().text), CCeDbProp::kMaxText - 1);
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 1u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text, "Very long string??");
    EXPECT_EQ(plat::testing::MessageBoxes()[0].flags, plat::kMbIconStop);
}

}  // namespace
