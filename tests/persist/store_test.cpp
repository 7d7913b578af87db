#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <functional>
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

using RegistryTest = StoreTest;

TEST_F(RegistryTest, KeyIsNewOnlyTheFirstTimeAndPathsIgnoreCase) {
    bool created = false;
    OpenKey(kPath, &created);
    EXPECT_TRUE(created);
    Restart();
    OpenKey("CORVANE\\reedshot", &created);
    EXPECT_FALSE(created);
    OpenKey("Corvane\\Other", &created);
    EXPECT_TRUE(created);
    plat::KeyHandle key = plat::kNoKey;
    EXPECT_FALSE(plat::OpenOrCreateKey("", key, created));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
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
    // Same names in another key, and the hosts' preferences, are other values.
    ASSERT_TRUE(plat::WriteNumber(OpenKey("Corvane\\Other"), "Twice", 99));
    ASSERT_TRUE(plat::WriteHostPreference("Twice", 3));
    ASSERT_TRUE(plat::WriteHostPreference("TWICE", 4));
    Restart();

    key = OpenKey(kPath);
    int32_t value = 0;
    for (const auto& [name, expected] : {std::pair{"Low", INT32_MIN}, {"High", INT32_MAX}, {"TWICE", 7}}) {
        ASSERT_TRUE(plat::ReadNumber(key, name, value)) << name;
        EXPECT_EQ(value, expected) << name;
    }
    char name[16] = "junk";
    ASSERT_TRUE(plat::ReadString(key, "Name", name, sizeof name));
    EXPECT_STREQ(name, "ROBIN");
    ASSERT_TRUE(plat::ReadNumber(OpenKey("Corvane\\Other"), "Twice", value));
    EXPECT_EQ(value, 99);
    ASSERT_TRUE(plat::ReadHostPreference("twice", value));
    EXPECT_EQ(value, 4);
    EXPECT_FALSE(plat::ReadHostPreference("Low", value));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreFileNotFound);
}

TEST_F(RegistryTest, PlantedValuesThatAreNoThirtyTwoBitNumberReadAsMissing) {
    const plat::KeyHandle key = OpenKey(kPath);
    const char* names[] = {"Wide", "Low", "Real", "Word", "Blob"};
    for (const char* name : names) ASSERT_TRUE(plat::WriteNumber(key, name, 0));
    // 2^32 + 5 used to read as 5.
    ASSERT_TRUE(plat::testing::ExecuteInStore(
        "UPDATE reg_values SET number = CASE name WHEN 'Wide' THEN 4294967301 WHEN 'Low' THEN -2147483649 "
        "WHEN 'Real' THEN 2.5 WHEN 'Word' THEN 'seventeen' ELSE x'0011' END"));
    for (const char* name : names) {
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
    char text[8] = "keep";
    uint32_t bytes = 77;
    EXPECT_FALSE(plat::ReadString(key, "Count", text, sizeof text));
    EXPECT_FALSE(plat::ReadStringSize(key, "Count", bytes));
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(bytes, 77u);

    plat::CloseKey(key);
    EXPECT_FALSE(plat::ReadNumber(key, "Count", value));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidHandle);
    EXPECT_FALSE(plat::WriteNumber(key, "Count", 4));
    EXPECT_FALSE(plat::WriteNumber(plat::kNoKey, "Count", 4));
    EXPECT_EQ(value, 42);
}

TEST_F(RegistryTest, AFullStoreRefusesWritesAndKeepsOldValues) {
    plat::KeyHandle key = OpenKey(kPath);
    ASSERT_TRUE(plat::WriteNumber(key, "Kept", 1));
    plat::testing::LimitStorePages(1);
    uint32_t error = plat::kStoreOk;
    for (int i = 0; i < 200000 && error == plat::kStoreOk; ++i) {
        if (!plat::WriteNumber(key, ("filler" + std::to_string(i)).c_str(), i)) error = plat::StoreLastError();
    }
    EXPECT_EQ(error, plat::kStoreDiskFull);
    Restart();

    int32_t value = 0;
    ASSERT_TRUE(plat::ReadNumber(OpenKey(kPath), "Kept", value));
    EXPECT_EQ(value, 1);
    EXPECT_TRUE(Messages().empty());
}

using DatabaseTest = StoreTest;

TEST_F(DatabaseTest, NamesAreUniqueAndChecked) {
    EXPECT_NE(plat::CreateDatabase("HISCORE", 1), 0u);
    EXPECT_NE(plat::CreateDatabase(std::string(32, 'D').c_str(), 2), 0u);
    Restart();
    const std::pair<std::string, uint32_t> refused[] = {{"HISCORE", plat::kStoreDupName},
                                                        {"hiscore", plat::kStoreDupName},
                                                        {"", plat::kStoreInvalidParameter},
                                                        {std::string(33, 'D'), plat::kStoreInvalidParameter}};
    for (const auto& [name, error] : refused) {
        EXPECT_EQ(plat::CreateDatabase(name.c_str(), 2), 0u) << name;
        EXPECT_EQ(plat::StoreLastError(), error) << name;
    }
    EXPECT_EQ(plat::OpenDatabase("MISSING"), plat::kNoDatabase);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreFileNotFound);
    EXPECT_EQ(plat::OpenDatabase(nullptr), plat::kNoDatabase);
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidParameter);
}

TEST_F(DatabaseTest, RecordsKeepTheirOrderSeekWalksThemAndAWriteOverOneMergesItsProperties) {
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
    // The first record gets a flag in front and a new text: the number it had stays.
    const plat::DbProp over[] = {{plat::PropId(0, plat::kPropBool), 1, nullptr}, Text(4, "XYZ")};
    EXPECT_EQ(plat::WriteRecord(db, ids[0], over, 2), ids[0]);
    ASSERT_TRUE(plat::CloseDatabase(db));
    Restart();

    db = plat::OpenDatabase("ORDER");
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &index), ids[2]);
    EXPECT_EQ(index, 2u);
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kBeginning, &index), ids[0]);
    EXPECT_EQ(index, 0u);
    const ReadBack merged = ReadCurrent(db);
    ASSERT_EQ(merged.props.size(), 3u);
    EXPECT_EQ(merged.props[0].id, (1u << 16) | 3u);
    EXPECT_EQ(merged.props[0].number, 100);
    EXPECT_EQ(merged.texts[1], "XYZ");
    EXPECT_EQ(merged.props[2].id, 11u);
    for (int i = 1; i < 3; ++i) {
        ASSERT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kNext, &index), ids[i]);
        EXPECT_EQ(index, static_cast<uint32_t>(i));
        const ReadBack record = ReadCurrent(db);
        ASSERT_EQ(record.props.size(), 2u);
        EXPECT_EQ(record.props[0].number, 100 - i);
        EXPECT_EQ(record.props[1].id, (4u << 16) | 31u);
        EXPECT_EQ(record.texts[1], i == 1 ? "MID" : "");
    }
    EXPECT_EQ(plat::SeekDatabase(db, plat::SeekFrom::kNext), 0u);
    EXPECT_EQ(ReadCurrent(db).id, 0u);
    EXPECT_TRUE(plat::CloseDatabase(db));
    EXPECT_FALSE(plat::CloseDatabase(db));
    EXPECT_EQ(plat::StoreLastError(), plat::kStoreInvalidHandle);
}

TEST_F(DatabaseTest, PlantedPropertiesTheProgramCouldNotHaveWrittenAreLeftOut) {
    ASSERT_NE(plat::CreateDatabase("DB", 1), 0u);
    const plat::DbHandle db = plat::OpenDatabase("DB");
    const plat::DbProp props[] = {Number(0, 1), Number(1, 2), Number(2, 3), Number(3, 4), Text(4, "x"),
                                  Number(5, 6)};
    const plat::RecordId id = plat::WriteRecord(db, 0, props, 6);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    const auto p = [](uint16_t position, plat::PropType type) { return std::to_string(plat::PropId(position, type)); };
    const std::string sql = "UPDATE props SET number = CASE prop_id WHEN " + p(0, plat::kPropNumber) +
                            " THEN 8589934592 WHEN " + p(1, plat::kPropNumber) + " THEN NULL WHEN " +
                            p(2, plat::kPropNumber) + " THEN 'seven' WHEN " + p(3, plat::kPropNumber) +
                            " THEN 1.5 ELSE number END, text = CASE prop_id WHEN " + p(4, plat::kPropString) +
                            " THEN 'ab' || char(0) || 'cd' ELSE text END;"
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
    const struct {
        plat::DbHandle db;
        plat::RecordId record;
        const plat::DbProp* props;
        uint16_t count;
        uint32_t error;
    } bad[] = {{db, 0, one, 0, plat::kStoreInvalidParameter},
               {db, 0, nullptr, 1, plat::kStoreInvalidParameter},
               {db, 0, unknownType, 1, plat::kStoreInvalidParameter},
               {db, 0, noText, 2, plat::kStoreInvalidParameter},
               {db, foreign, one, 1, plat::kStoreInvalidParameter},
               {plat::kNoDatabase, 0, one, 1, plat::kStoreInvalidHandle}};
    for (const auto& write : bad) {
        EXPECT_EQ(plat::WriteRecord(write.db, write.record, write.props, write.count), 0u);
        EXPECT_EQ(plat::StoreLastError(), write.error);
    }
    EXPECT_TRUE(plat::CloseDatabase(db));
    Restart();

    EXPECT_EQ(plat::SeekDatabase(plat::OpenDatabase("MINE"), plat::SeekFrom::kEnd), 0u);
    uint32_t index = 9;
    EXPECT_EQ(plat::SeekDatabase(plat::OpenDatabase("THEIRS"), plat::SeekFrom::kEnd, &index), foreign);
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
    const plat::DbProp props[] = {Number(1, 10)};
    for (const bool close : {false, true}) {
        const plat::DbHandle db = plat::OpenDatabase("BATCH");
        ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
        ASSERT_NE(plat::WriteRecord(db, 0, props, 1), 0u);
        if (close) {
            ASSERT_TRUE(plat::CloseDatabase(db));
        }
        Restart();  // killed before the close, the first time
    }
    uint32_t index = 0;
    EXPECT_NE(plat::SeekDatabase(plat::OpenDatabase("BATCH"), plat::SeekFrom::kEnd, &index), 0u);
    EXPECT_EQ(index, 1u);
}

using DamagedStoreTest = StoreTest;

// Each way of damaging a store of a dozen pages: the file is set aside
// byte for byte, named in the one message, and a fresh store starts.
TEST_F(DamagedStoreTest, ADamagedFileIsSetAsideOnceAndAFreshStoreStarts) {
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> damages[] = {
        {"garbage", [](std::vector<uint8_t>& bytes) {
             std::mt19937 random(7);
             for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
         }},
        {"truncated", [](std::vector<uint8_t>& bytes) { bytes.resize(bytes.size() / 2); }},
        {"scrambled page", [](std::vector<uint8_t>& bytes) {
             std::mt19937 random(11);
             for (size_t i = 5 * 4096; i < 6 * 4096; ++i) bytes[i] = static_cast<uint8_t>(random());
         }},
        // Every page well formed, but the value table out of key order: a lookup
        // would miss SoundVol, a save would add a second, the next run read the old.
        {"name out of order", [](std::vector<uint8_t>& bytes) {
             const std::string wanted = "SoundVol";
             const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
             ASSERT_NE(at, bytes.end());
             at[0] = 'Z';  // now after UserName
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        TearDown();
        SetUp();
        plat::KeyHandle key = OpenKey(kPath);
        for (const char* name : {"KilledDucks", "MusicVol", "SoundVol", "UserName"}) ASSERT_TRUE(plat::WriteNumber(key, name, 5));
        const std::string padding(1500, 'p');
        for (int i = 0; i < 30; ++i) ASSERT_TRUE(plat::WriteString(key, ("v" + std::to_string(i)).c_str(), padding.c_str()));
        Restart();
        std::vector<uint8_t> bytes = ReadBytes(plat::StorePath());
        ASSERT_GT(bytes.size(), 8u * 4096);
        damage(bytes);
        WriteBytes(plat::StorePath(), bytes);

        bool created = false;
        key = OpenKey(kPath, &created);
        EXPECT_TRUE(created);
        EXPECT_TRUE(plat::WriteNumber(key, "SoundVol", 3));
        OpenKey("Corvane\\Other");
        const auto kept = KeptFiles();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(ReadBytes(kept[0]), bytes);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].find(kept[0].string()), std::string::npos);
        Restart();
        int32_t value = 0;
        ASSERT_TRUE(plat::ReadNumber(OpenKey(kPath), "SoundVol", value));
        EXPECT_EQ(value, 3);
        EXPECT_EQ(Messages().size(), 1u);
        EXPECT_EQ(KeptFiles().size(), 1u);
    }
}

// Neither a folder where the file should be nor a folder that cannot be made
// is a broken database: nothing is renamed, the run works in memory and says so.
TEST_F(DamagedStoreTest, AStoreThatCannotBeOpenedIsWorkedAroundForOneRun) {
    for (const bool blockedFolder : {false, true}) {
        SCOPED_TRACE(blockedFolder ? "folder" : "file");
        TearDown();
        SetUp();
        std::string named = "could not be opened";
        if (blockedFolder) {
            WriteBytes(dir_ / "file", {1, 2, 3});
            named = (dir_ / "file" / "inside").string();
            setenv("REEDSHOT_DATA_DIR", named.c_str(), 1);
        } else {
            std::filesystem::create_directories(plat::StorePath());
        }
        bool created = false;
        plat::KeyHandle key = OpenKey(kPath, &created);
        EXPECT_TRUE(created);
        EXPECT_TRUE(plat::WriteNumber(key, "SoundVol", 3));
        int32_t value = 0;
        EXPECT_TRUE(plat::ReadNumber(key, "SoundVol", value));
        EXPECT_EQ(value, 3);
        EXPECT_TRUE(KeptFiles().empty());
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].find(named), std::string::npos);
    }
}

}  // namespace
