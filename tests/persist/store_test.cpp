#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/persist/store_fixture.h"

namespace {

constexpr const char* kPath = "Corvane\\Reedshot";

plat::KeyHandle OpenKey(const char* path, bool* createdOut = nullptr) {
    plat::KeyHandle key = plat::kNoKey;
    bool created = false;
    EXPECT_TRUE(plat::OpenOrCreateKey(path, key, created));
    if (createdOut) *createdOut = created;
    return key;
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Writes numbers under fresh names until the store refuses one; the error.
uint32_t FillWithNumbers(plat::KeyHandle key) {
    for (int i = 0; i < 200000; ++i) {
        if (!plat::WriteNumber(key, ("filler" + std::to_string(i)).c_str(), i)) return plat::StoreLastError();
    }
    return plat::kStoreOk;
}

struct ReadBack {
    plat::RecordId id = 0;
    std::vector<plat::DbProp> props;
    std::vector<std::string> texts;
};

ReadBack ReadCurrent(plat::DbHandle db) {
    ReadBack out;
    plat::DbProp* props = nullptr;
    uint16_t count = 0;
    out.id = plat::ReadRecord(db, props, count);
    if (out.id == 0) return out;
    for (uint16_t i = 0; i < count; ++i) {
        out.props.push_back(props[i]);
        out.texts.push_back(props[i].text ? props[i].text : "<none>");
    }
    plat::FreeRecord(props);
    return out;
}

plat::DbProp Number(uint16_t position, int32_t value) {
    return {plat::PropId(position, plat::kPropNumber), value, nullptr};
}
plat::DbProp Text(uint16_t position, const char* text) {
    return {plat::PropId(position, plat::kPropString), 0, text};
}

// Enough values to spread the file over a dozen pages.
void FillPages(plat::KeyHandle key) {
    const std::string padding(1500, 'p');
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(plat::WriteString(key, ("v" + std::to_string(i)).c_str(), padding.c_str()));
}

using RegistryTest = StoreTest;

TEST_F(RegistryTest, KeyIsNewOnlyTheFirstTimeAndPathsIgnoreCase) {
    bool created = false;
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    OpenKey(kPath, &created);
    EXPECT_FALSE(created);
    Restart();
    OpenKey("CORVANE\\reedshot", &created);
    EXPECT_FALSE(created);
    OpenKey("Corvane\\Other", &created);
    EXPECT_TRUE(created);

    plat::KeyHandle key = plat::kNoKey;
    EXPECT_FALSE(plat::OpenOrCreateKey("", key, created));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_TRUE(std::filesystem::exists(plat::StorePath()));
    EXPECT_EQ(std::filesystem::path(plat::StorePath()).parent_path(), dir_);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(RegistryTest, ValuesSurviveARestartAndOverwritesKeepTheLast) {
    plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "Low", INT32_MIN));
    ASSERT_TRUE(plat::WriteNumber(key, "High", INT32_MAX));
    ASSERT_TRUE(plat::WriteNumber(key, "Twice", 5));
    ASSERT_TRUE(plat::WriteNumber(key, "twice", 7));
    ASSERT_TRUE(plat::WriteString(key, "Name", "ROBIN"));
    ASSERT_TRUE(plat::WriteString(key, "Empty", ""));
    // Same names in another key are other values.
    plat::KeyHandle other = OpenKey("Corvane\\Other");
    ASSERT_TRUE(plat::WriteNumber(other, "Twice", 99));
    // The hosts' preferences are apart from every key.
    ASSERT_TRUE(plat::WriteHostPreference("Twice", 3));
    ASSERT_TRUE(plat::WriteHostPreference("TWICE", 4));
    Restart();

    key = OpenKey(kPath);
    int32_t value = 0;
    ASSERT_TRUE(plat::ReadNumber(key, "Low", value));
    EXPECT_EQ(value, INT32_MIN);
    ASSERT_TRUE(plat::ReadNumber(key, "High", value));
    EXPECT_EQ(value, INT32_MAX);
    ASSERT_TRUE(plat::ReadNumber(key, "TWICE", value));
    EXPECT_EQ(value, 7);
    char name[16] = "junk";
    ASSERT_TRUE(plat::ReadString(key, "Name", name, sizeof name));
    EXPECT_STREQ(name, "ROBIN");
    ASSERT_TRUE(plat::ReadString(key, "Empty", name, sizeof name));
    EXPECT_STREQ(name, "");
    ASSERT_TRUE(plat::ReadNumber(OpenKey("Corvane\\Other"), "Twice", value));
    EXPECT_EQ(value, 99);
    ASSERT_TRUE(plat::ReadHostPreference("twice", value));
    EXPECT_EQ(value, 4);
    EXPECT_FALSE(plat::ReadHostPreference("Low", value));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreFileNotFound);
    EXPECT_EQ(value, 4);
}

TEST_F(RegistryTest, PlantedValuesThatAreNoThirtyTwoBitNumberReadAsMissing) {
    const plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "Wide", 0));
    ASSERT_TRUE(plat::WriteNumber(key, "Low", 0));
    ASSERT_TRUE(plat::WriteNumber(key, "Real", 0));
    ASSERT_TRUE(plat::WriteNumber(key, "Word", 0));
    ASSERT_TRUE(plat::WriteNumber(key, "Blob", 0));
    // 2^32 + 5 used to read as 5.
    ASSERT_TRUE(plat::testing::ExecuteInStore(
        "UPDATE reg_values SET number = CASE name WHEN 'Wide' THEN 4294967301 WHEN 'Low' THEN -2147483649 "
        "WHEN 'Real' THEN 2.5 WHEN 'Word' THEN 'seventeen' ELSE x'0011' END"));
    for (const char* name : {"Wide", "Low", "Real", "Word", "Blob"}) {
        int32_t value = 123;
        EXPECT_FALSE(plat::ReadNumber(key, name, value)) << name;
        EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter) << name;
        EXPECT_EQ(value, 123) << name;
    }
}

TEST_F(RegistryTest, AnImageOfTheStoreOpensInMemoryAndGarbageStartsAfresh) {
    ASSERT_TRUE(plat::WriteNumber(OpenKey(kPath), "Kept", 42));
    const std::vector<uint8_t> image = plat::testing::StoreImage();
    ASSERT_GT(image.size(), 1024u);
    plat::testing::OpenStoreImage(image);
    int32_t value = 0;
    ASSERT_TRUE(plat::ReadNumber(OpenKey(kPath), "Kept", value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(Messages().empty());

    std::vector<uint8_t> garbage(image);
    for (size_t i = 0; i < 100; ++i) garbage[i] = static_cast<uint8_t>(i * 37);
    plat::testing::OpenStoreImage(garbage);
    EXPECT_FALSE(plat::ReadNumber(OpenKey(kPath), "Kept", value));
    ASSERT_EQ(Messages().size(), 1u);
    // Writes work for the rest of the run.
    ASSERT_TRUE(plat::WriteNumber(OpenKey(kPath), "Kept", 7));
    ASSERT_TRUE(plat::ReadNumber(OpenKey(kPath), "Kept", value));
    EXPECT_EQ(value, 7);
}

TEST_F(RegistryTest, ReadsCutStringsToTheBufferAndFailuresLeaveTheOutputAlone) {
    plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "Count", 3));
    ASSERT_TRUE(plat::WriteString(key, "Name", "ABCDEFGHIJK"));
    uint32_t size = 0;
    ASSERT_TRUE(plat::ReadStringSize(key, "Name", size));
    EXPECT_EQ(size, 12u);
    char cut[9];
    ASSERT_TRUE(plat::ReadString(key, "Name", cut, sizeof cut));
    EXPECT_STREQ(cut, "ABCDEFGH");

    int32_t value = 42;
    EXPECT_FALSE(plat::ReadNumber(key, "Missing", value));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreFileNotFound);
    EXPECT_FALSE(plat::ReadNumber(key, "Name", value));
    EXPECT_EQ(value, 42);

    char text[8] = "keep";
    uint32_t bytes = 77;
    EXPECT_FALSE(plat::ReadString(key, "Count", text, sizeof text));
    EXPECT_FALSE(plat::ReadStringSize(key, "Count", bytes));
    EXPECT_FALSE(plat::ReadString(key, "Missing", text, sizeof text));
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(bytes, 77u);

    plat::CloseKey(key);
    EXPECT_FALSE(plat::ReadNumber(key, "Count", value));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidHandle);
    EXPECT_FALSE(plat::WriteNumber(key, "Count", 4));
    EXPECT_FALSE(plat::WriteNumber(plat::kNoKey, "Count", 4));
    EXPECT_EQ(value, 42);
}

TEST_F(RegistryTest, WritesAreTraced) {
    plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "SoundVol", 12));
    bool found = false;
    for (const std::string& line : plat::testing::TraceLines()) {
        found = found || (line.find("\"store_write\"") != std::string::npos &&
                          line.find("\"name\":\"SoundVol\"") != std::string::npos &&
                          line.find("\"key\":\"Corvane\\\\Reedshot\"") != std::string::npos &&
                          line.find("\"value\":12") != std::string::npos);
    }
    EXPECT_TRUE(found);
}

TEST_F(RegistryTest, AFullStoreRefusesWritesAndKeepsOldValues) {
    plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "Kept", 1));
    plat::testing::LimitStorePages(1);
    EXPECT_EQ(FillWithNumbers(key), plat::kStoreDiskFull);
    EXPECT_FALSE(plat::WriteString(key, "Huge", std::string(20000, 'z').c_str()));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreDiskFull);
    Restart();

    key = OpenKey(kPath);
    int32_t value = 0;
    ASSERT_TRUE(plat::ReadNumber(key, "Kept", value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(plat::ReadNumber(key, "Huge", value));
    EXPECT_TRUE(Messages().empty());
}

using DatabaseTest = StoreTest;

TEST_F(DatabaseTest, NamesAreUniqueAndChecked) {
    EXPECT_NE(plat::CreateDatabase("HISCORE", 1), 0u);
    EXPECT_EQ(plat::CreateDatabase("HISCORE", 2), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreDupName);
    EXPECT_EQ(plat::CreateDatabase("hiscore", 2), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreDupName);
    EXPECT_EQ(plat::CreateDatabase("", 2), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_EQ(plat::CreateDatabase(std::string(33, 'D').c_str(), 2), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_NE(plat::CreateDatabase(std::string(32, 'D').c_str(), 2), 0u);

    EXPECT_EQ(plat::OpenDatabase("MISSING"), plat::kNoDatabase);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreFileNotFound);
    EXPECT_EQ(plat::OpenDatabase(nullptr), plat::kNoDatabase);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    Restart();
    EXPECT_EQ(plat::CreateDatabase("HISCORE", 1), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreDupName);
}

TEST_F(DatabaseTest, RecordsKeepTheirOrderAndSeekWalksThem) {
    ASSERT_NE(plat::CreateDatabase("ORDER", 1), 0u);
    plat::DbHandle db = plat::OpenDatabase("ORDER");
    ASSERT_NE(db, plat::kNoDatabase);
    uint32_t index = 99;
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kBeginning, &index), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreNoMoreItems);
    plat::RecordId ids[3];
    for (int32_t i = 0; i < 3; ++i) {
        const plat::DbProp props[] = {Number(1, 100 - i), Text(4, i == 1 ? "MID" : "")};
        ids[i] = plat::WriteRecord(db, 0, props, 2);
        ASSERT_NE(ids[i], 0u);
    }
    ASSERT_TRUE(plat::CloseDatabase(db));
    Restart();

    db = plat::OpenDatabase("ORDER");
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &index), ids[2]);
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kBeginning, &index), ids[0]);
    EXPECT_EQ(index, 0u);
    for (int i = 0; i < 3; ++i) {
        const ReadBack record = ReadCurrent(db);
        EXPECT_EQ(record.id, ids[i]);
        ASSERT_EQ(record.props.size(), 2u);
        EXPECT_EQ(record.props[0].id, (1u << 16) | 3u);
        EXPECT_EQ(record.props[0].number, 100 - i);
        EXPECT_EQ(record.props[1].id, (4u << 16) | 31u);
        EXPECT_EQ(record.texts[1], i == 1 ? "MID" : "");
        const plat::RecordId next = plat::SeekDatabase(db, plat::SeekFrom::kNext, &index);
        EXPECT_EQ(next, i < 2 ? ids[i + 1] : 0u);
        if (i < 2) {
            EXPECT_EQ(index, static_cast<uint32_t>(i + 1));
        }
    }
    EXPECT_EQ(ReadCurrent(db).id, 0u);
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kNext), 0u);
    EXPECT_TRUE(plat::CloseDatabase(db));
    EXPECT_FALSE(plat::CloseDatabase(db));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidHandle);
}

TEST_F(DatabaseTest, AWriteOverARecordReplacesOnlyTheNamedProperties) {
    ASSERT_NE(plat::CreateDatabase("MERGE", 1), 0u);
    plat::DbHandle db = plat::OpenDatabase("MERGE");
    const plat::DbProp first[] = {{plat::PropId(0, plat::kPropBool), 1, nullptr}, Text(4, "AB")};
    const plat::RecordId id = plat::WriteRecord(db, 0, first, 2);
    ASSERT_NE(id, 0u);
    const plat::DbProp second[] = {Text(4, "XYZ"), Number(1, -5)};
    EXPECT_EQ(plat::WriteRecord(db, id, second, 2), id);

    ASSERT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kBeginning), id);
    const ReadBack record = ReadCurrent(db);
    ASSERT_EQ(record.props.size(), 3u);
    EXPECT_EQ(record.props[0].id, plat::PropId(0, plat::kPropBool));
    EXPECT_EQ(record.props[0].number, 1);
    EXPECT_EQ(record.texts[1], "XYZ");
    EXPECT_EQ(record.props[2].number, -5);
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kEnd), id);
    plat::CloseDatabase(db);
}

TEST_F(DatabaseTest, PlantedPropertiesTheProgramCouldNotHaveWrittenAreLeftOut) {
    ASSERT_NE(plat::CreateDatabase("DB", 1), 0u);
    const plat::DbHandle db = plat::OpenDatabase("DB");
    const plat::DbProp props[] = {Number(0, 1), Number(1, 2), Number(2, 3), Number(3, 4), Text(4, "x"),
                                  Number(5, 6)};
    const plat::RecordId id = plat::WriteRecord(db, 0, props, 6);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    const uint32_t p0 = plat::PropId(0, plat::kPropNumber), p1 = plat::PropId(1, plat::kPropNumber),
                   p2 = plat::PropId(2, plat::kPropNumber), p3 = plat::PropId(3, plat::kPropNumber),
                   p4 = plat::PropId(4, plat::kPropString);
    const std::string sql = "UPDATE props SET number = CASE prop_id WHEN " + std::to_string(p0) +
                            " THEN 8589934592 WHEN " + std::to_string(p1) + " THEN NULL WHEN " + std::to_string(p2) +
                            " THEN 'seven' WHEN " + std::to_string(p3) + " THEN 1.5 ELSE number END, text = CASE prop_id WHEN " +
                            std::to_string(p4) + " THEN 'ab' || char(0) || 'cd' ELSE text END;"
                            "INSERT INTO props VALUES(" + std::to_string(id) + ", 4294967299, 9, 5, NULL);"
                            "INSERT INTO props VALUES(" + std::to_string(id) + ", -1, 10, 5, NULL);";
    ASSERT_TRUE(plat::testing::ExecuteInStore(sql.c_str()));

    const plat::DbHandle again = plat::OpenDatabase("DB");
    const ReadBack back = ReadCurrent(again);
    ASSERT_EQ(back.id, id);
    ASSERT_EQ(back.props.size(), 2u);
    EXPECT_EQ(back.texts[0], "ab");  // a text stops at its first NUL
    EXPECT_EQ(back.props[1].id, plat::PropId(5, plat::kPropNumber));
    EXPECT_EQ(back.props[1].number, 6);
    plat::CloseDatabase(again);
}

TEST_F(DatabaseTest, BadWritesChangeNothing) {
    ASSERT_NE(plat::CreateDatabase("MINE", 1), 0u);
    ASSERT_NE(plat::CreateDatabase("THEIRS", 1), 0u);
    plat::DbHandle theirs = plat::OpenDatabase("THEIRS");
    const plat::DbProp one[] = {Number(1, 1)};
    const plat::RecordId foreign = plat::WriteRecord(theirs, 0, one, 1);
    ASSERT_NE(foreign, 0u);
    plat::CloseDatabase(theirs);

    plat::DbHandle db = plat::OpenDatabase("MINE");
    const plat::DbProp unknownType[] = {{plat::PropId(1, static_cast<plat::PropType>(7)), 1, nullptr}};
    const plat::DbProp noText[] = {Number(1, 1), Text(4, nullptr)};
    EXPECT_EQ(plat::WriteRecord(db, 0, one, 0), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_EQ(plat::WriteRecord(db, 0, nullptr, 1), 0u);
    EXPECT_EQ(plat::WriteRecord(db, 0, unknownType, 1), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_EQ(plat::WriteRecord(db, 0, noText, 2), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_EQ(plat::WriteRecord(db, foreign, one, 1), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
    EXPECT_EQ(plat::WriteRecord(plat::kNoDatabase, 0, one, 1), 0u);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidHandle);
    EXPECT_TRUE(plat::CloseDatabase(db));
    Restart();

    db = plat::OpenDatabase("MINE");
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kEnd), 0u);
    theirs = plat::OpenDatabase("THEIRS");
    uint32_t index = 9;
    EXPECT_EQ(plat::SeekDatabase(theirs, plat::SeekFrom::kEnd, &index), foreign);
    EXPECT_EQ(index, 0u);
}

TEST_F(DatabaseTest, HandlesRunOutWithTheMemoryError) {
    ASSERT_NE(plat::CreateDatabase("MANY", 1), 0u);
    std::vector<plat::DbHandle> handles;
    plat::DbHandle db;
    while ((db = plat::OpenDatabase("MANY")) != plat::kNoDatabase && handles.size() < 1000) handles.push_back(db);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreNotEnoughMemory);
    EXPECT_GE(handles.size(), 8u);
    EXPECT_LT(handles.size(), 1000u);
    plat::CloseDatabase(handles.back());
    EXPECT_NE(plat::OpenDatabase("MANY"), plat::kNoDatabase);
}

TEST_F(DatabaseTest, WritesLandOnlyWhenTheDatabaseCloses) {
    ASSERT_NE(plat::CreateDatabase("BATCH", 1), 0u);
    plat::DbHandle db = plat::OpenDatabase("BATCH");
    const plat::DbProp props[] = {Number(1, 10)};
    ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
    ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
    Restart();  // killed before the close

    db = plat::OpenDatabase("BATCH");
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kEnd), 0u);
    ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
    ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    Restart();

    db = plat::OpenDatabase("BATCH");
    uint32_t index = 0;
    EXPECT_NE(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &index), 0u);
    EXPECT_EQ(index, 1u);
    bool committed = false;
    for (const std::string& line : plat::testing::TraceLines()) {
        committed = committed || (line.find("\"store_write\"") != std::string::npos &&
                                  line.find("\"kind\":\"commit\",\"ok\":true") != std::string::npos);
    }
    EXPECT_TRUE(committed);
}

using DamagedStoreTest = StoreTest;

TEST_F(DamagedStoreTest, GarbageIsSetAsideOnceAndAFreshStoreStarts) {
    std::mt19937 random(7);
    std::vector<uint8_t> garbage(3 * 4096);
    for (uint8_t& byte : garbage) byte = static_cast<uint8_t>(random());
    WriteBytes(plat::StorePath(), garbage);

    bool created = false;
    plat::KeyHandle key = OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    EXPECT_TRUE(plat::WriteNumber(key, "SoundVol", 3));
    OpenKey("Corvane\\Other");
    const auto kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), garbage);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(kept[0].string()), std::string::npos);

    Restart();
    int32_t value = 0;
    ASSERT_TRUE(plat::ReadNumber(OpenKey(kPath), "SoundVol", value));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(KeptFiles().size(), 1u);
}

TEST_F(DamagedStoreTest, ATruncatedFileIsSetAside) {
    plat::KeyHandle key = OpenKey(kPath);
    FillPages(key);
    Restart();
    const std::vector<uint8_t> whole = ReadBytes(plat::StorePath());
    ASSERT_GT(whole.size(), 8u * 4096);
    const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    WriteBytes(plat::StorePath(), cut);

    bool created = false;
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    const auto kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), cut);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(kept[0].string()), std::string::npos);
}

TEST_F(DamagedStoreTest, AScrambledPageInsideIsFoundAtOnce) {
    plat::KeyHandle key = OpenKey(kPath);
    FillPages(key);
    Restart();
    std::vector<uint8_t> bytes = ReadBytes(plat::StorePath());
    ASSERT_GT(bytes.size(), 8u * 4096);
    std::mt19937 random(11);
    for (size_t i = 5 * 4096; i < 6 * 4096; ++i) bytes[i] = static_cast<uint8_t>(random());
    WriteBytes(plat::StorePath(), bytes);

    bool created = false;
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    const auto kept = KeptFiles();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), bytes);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(DamagedStoreTest, ANameOutOfKeyOrderIsFound) {
    // One changed letter leaves every page well formed but the value table
    // out of order: a lookup then misses rows that are there, so a save
    // would add a second SoundVol and the next run would read the old one.
    plat::KeyHandle key = OpenKey(kPath);
    for (const char* name : {"KilledDucks", "MusicVol", "SoundVol", "UserName"}) ASSERT_TRUE(plat::WriteNumber(key, name, 5));
    Restart();
    std::vector<uint8_t> bytes = ReadBytes(plat::StorePath());
    const std::string wanted = "SoundVol";
    const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
    ASSERT_NE(at, bytes.end());
    at[0] = 'Z';  // now after UserName
    WriteBytes(plat::StorePath(), bytes);

    bool created = false;
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    EXPECT_EQ(KeptFiles().size(), 1u);
    EXPECT_EQ(Messages().size(), 1u);
}

TEST_F(DamagedStoreTest, AFileThatCannotBeOpenedIsLeftWhereItIs) {
    // Something the store cannot open but that is not a broken database: it
    // must not be renamed as damaged, only worked around for this run.
    std::filesystem::create_directories(plat::StorePath());
    bool created = false;
    plat::KeyHandle key = OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    EXPECT_TRUE(plat::WriteNumber(key, "SoundVol", 3));
    EXPECT_TRUE(std::filesystem::is_directory(plat::StorePath()));
    EXPECT_TRUE(KeptFiles().empty());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("could not be opened"), std::string::npos);
}

TEST_F(DamagedStoreTest, AnUnusableFolderStillLetsTheGameRunForOneSession) {
    WriteBytes(dir_ / "file", {1, 2, 3});
    const std::filesystem::path blocked = dir_ / "file" / "inside";
    setenv("REEDSHOT_DATA_DIR", blocked.c_str(), 1);

    bool created = false;
    plat::KeyHandle key = OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    EXPECT_TRUE(plat::WriteNumber(key, "SoundVol", 3));
    int32_t value = 0;
    EXPECT_TRUE(plat::ReadNumber(key, "SoundVol", value));
    EXPECT_EQ(value, 3);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(blocked.string()), std::string::npos);
    Restart();
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
}

}  // namespace
