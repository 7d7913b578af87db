#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "persist/high_score_table.h"
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

const std::string kStop = "|Error|" + std::to_string(plat::kMbIconStop);

using HighScoreTableTest = StoreTest;

TEST_F(HighScoreTableTest, TheFirstRunCreatesTenEmptyRecordsOfFivePropertiesAndTheNextReadsThem) {
    {
        HighScoreTable table;
        table.CreateIfMissing();
        table.Load();
        EXPECT_EQ(table.CountUsed(), 0);
    }
    Restart();
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    ASSERT_NE(db, plat::kNoDatabase);
    for (int record = 0; record < 10; ++record) {
        const std::string read = Record(db);
        EXPECT_EQ(read.substr(read.find(':')), ": 11=0 65539=0 131075=0 196611=0 262175=''") << record;
        EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kNext) != 0, record < 9);
    }
    plat::CloseDatabase(db);
    {
        HighScoreTable table;
        table.CreateIfMissing();
        HighScoreEntry odd = Entry(-40, "NEGATIVE");
        odd.reserved1 = 11;
        odd.reserved2 = -12;
        ASSERT_TRUE(table.Insert(Entry(300, "ROBIN")) && table.Insert(odd));
        table.Save();
    }
    Restart();
    HighScoreTable table;
    table.CreateIfMissing();  // creates nothing the second time
    table.Load();
    EXPECT_EQ(Describe(table), "300:ROBIN -40:NEGATIVE* 0: 0: 0: 0: 0: 0: 0: 0: ");
    EXPECT_EQ(std::pair(table.GetEntry(1).reserved1, table.GetEntry(1).reserved2), std::pair(11, -12));
    uint32_t last = 0;
    plat::SeekDatabase(plat::OpenDatabase("HISCORE"), plat::SeekFrom::kEnd, &last);
    EXPECT_TRUE(last == 9u && Messages().empty());
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
    EXPECT_EQ(Describe(table), "100:ABCDEFGHI 99:ABCDEFGHI 98:ABCDEFGHI 97:ABCDEFGHI* 96:ABCDEFGHI 95:ABCDEFGHI "
                               "94:ABCDEFGHI 93:ABCDEFGHI 92:ABCDEFGHI 91:ABCDEFGHI ");
    EXPECT_EQ(table.GetEntry(0).reserved1, 0);
}

TEST_F(HighScoreTableTest, AMissingDatabaseLeavesTheTableAloneSaveSaysSoAndAFullStoreCannotMakeIt) {
    HighScoreTable table;
    ASSERT_TRUE(table.Insert(Entry(5, "ANNA")));
    table.Load();
    EXPECT_TRUE(table.GetEntry(0).score == 5 && Messages().empty());
    table.Save();
    // Creating it in a full store is reported too.
    plat::testing::LimitStorePages(1);
    // Names that sort before "HISCORE", so each fills the pages its row would need.
    char name[16];
    for (int made = 0; made < 100000; ++made) {
        std::snprintf(name, sizeof name, "A%06d", made);
        if (plat::CreateDatabase(name, 1) == 0) break;
    }
    ASSERT_EQ(plat::StoreLastError(), plat::kStoreDiskFull);
    table.CreateIfMissing();
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"No database exists with the specified name." + kStop,
                                                 "Unable to create HiScore database!" + kStop}));
}

TEST_F(HighScoreTableTest, SavingIntoAFullStoreIsReportedAndKeepsWhatWasThere) {
    ASSERT_NE(plat::CreateDatabase("HISCORE", 1), 0u);
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    const plat::DbProp old[] = {{plat::PropId(1, plat::kPropNumber), 70, nullptr}, {plat::PropId(4, plat::kPropString), 0, "OLD"}};
    ASSERT_NE(plat::WriteRecord(db, 0, old, 2), 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    ASSERT_NE(plat::CreateDatabase("FILLER", 1), 0u);
    plat::testing::LimitStorePages(1);
    // One record per batch (a refused one takes no others with it), long, then short for the last gaps.
    for (const size_t length : {40, 1}) {
        const std::string text(length, 'f');
        const plat::DbProp props[] = {{plat::PropId(4, plat::kPropString), 0, text.c_str()}};
        for (int written = 0; written < 100000; ++written) {
            const plat::DbHandle filler = plat::OpenDatabase("FILLER");
            if (plat::WriteRecord(filler, 0, props, 1) == 0 || !plat::CloseDatabase(filler)) break;
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
    const std::vector<std::string> boxes = Boxes();
    EXPECT_TRUE(boxes.size() == 9 || boxes.size() == 10) << boxes.size();
    for (const std::string& box : boxes) EXPECT_EQ(box, "Disk is full!|Error|" + std::to_string(plat::kMbOk));
    Restart();
    HighScoreTable reloaded;
    reloaded.Load();
    EXPECT_EQ(Describe(reloaded), "70:OLD 0: 0: 0: 0: 0: 0: 0: 0: 0: ");
}

TEST_F(HighScoreTableTest, InsertScoresDescendNamesAscendEmptiesSitBetweenSignsOneIsNewAFullTableTakesOnlyBetterAndBadIndicesAreReported) {
    HighScoreTable table;
    EXPECT_FALSE(table.Insert(Entry(0, "ZERO")));  // refused even with room
    for (const auto& [score, name] : {std::pair{-5, "NEG"}, {50, "BOB"}, {50, "ADAM"}, {80, "ZED"}, {50, "ANNA"}}) {
        ASSERT_TRUE(table.Insert(Entry(score, name)));
    }
    table.Sort();
    EXPECT_EQ(Describe(table), "80:ZED 50:ADAM 50:ANNA* 50:BOB 0: 0: 0: 0: 0: -5:NEG ");
    EXPECT_EQ(table.CountUsed(), 4);
    // The negative entry sorts below the empty ones, out of the used run.
    for (const int32_t score : {40, 30, 90, 70, 60, 95}) {
        ASSERT_TRUE(table.Insert(Entry(score, "P")));
        const std::string shown = Describe(table);
        EXPECT_EQ(std::count(shown.begin(), shown.end(), '*'), 1) << shown;
        table.Sort();
    }
    EXPECT_EQ(Describe(table), "95:P* 90:P 80:ZED 70:P 60:P 50:ADAM 50:ANNA 50:BOB 40:P 30:P ");
    // A full table takes only what beats its last entry: the table full with 1000 ... 505, and `last` at 500.
    const auto full = [](const char* last) {
        HighScoreTable filled;
        for (const int32_t score : {1000, 900, 800, 700, 600, 550, 520, 510, 505}) filled.Insert(Entry(score, "PAT"));
        filled.Insert(Entry(500, last));
        EXPECT_EQ(filled.CountUsed(), 10);
        return filled;
    };
    HighScoreTable bob = full("BOB");
    EXPECT_TRUE(!bob.Insert(Entry(400, "ANNA")) && bob.Insert(Entry(500, "ANNA")));
    EXPECT_TRUE(Describe(bob).ends_with(" 500:ANNA* ")) << Describe(bob);
    HighScoreTable adam = full("ADAM");
    EXPECT_TRUE(!adam.Insert(Entry(500, "ANNA")) && std::string(adam.GetEntry(9).name) == "ADAM");
    EXPECT_TRUE(adam.Insert(Entry(501, "ZZZ")) && adam.GetEntry(9).score == 501);
    EXPECT_EQ(Describe(adam).rfind("1000:PAT 900:PAT", 0), 0u);
    // An index out of range or a very long text is reported.
    HighScoreTable small;
    ASSERT_TRUE(small.Insert(Entry(10, "TEN")));
    EXPECT_EQ(small.GetEntry(9).score, 0);
    for (const int32_t index : {10, -1}) {
        const HighScoreEntry entry = small.GetEntry(index);
        EXPECT_TRUE(entry.IsEmpty() && !entry.isNew);
    }
    // A property owns its text.
    CCeDbProp prop;
    char name[] = "ROBIN";
    prop.SetText(4, name);
    name[0] = 'X';
    const CCeDbProp copy = prop;
    prop.SetText(4, nullptr);
    EXPECT_EQ(std::string(copy.Value().text) + "|" + prop.Value().text, "ROBIN|");
    prop.SetNumber(4, 3);
    EXPECT_EQ(prop.Value().text, nullptr);
    const std::string tooLong(CCeDbProp::kMaxText, 'L');
    prop.SetText(4, tooLong.c_str());
    EXPECT_EQ(std::strlen(prop.Value().text), CCeDbProp::kMaxText - 1);
    const std::string range = "This Number of record is bigger than is permitted" + kStop;
    EXPECT_EQ(Boxes(), (std::vector<std::string>{range, range, "Very long string??" + kStop}));
}

}  // namespace
