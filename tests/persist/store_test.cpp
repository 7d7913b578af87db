#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "tests/persist/store_fixture.h"

namespace {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

plat::DbProp Number(uint16_t position, int32_t value) { return {plat::PropId(position, plat::kPropNumber), value, nullptr}; }
plat::DbProp Text(uint16_t position, const char* text) { return {plat::PropId(position, plat::kPropString), 0, text}; }
std::string Id(uint16_t position, plat::PropType type) { return std::to_string(plat::PropId(position, type)); }

using RegistryTest = StoreTest;

TEST_F(RegistryTest, KeysAreNewOnceValuesSurviveARestartAndBadOrPlantedReadsOrAFullStoreChangeNothing) {
    bool created = false;
    plat::KeyHandle key = OpenKey(kPath, &created);
    EXPECT_TRUE(created && !plat::OpenOrCreateKey("", key, created));
    EXPECT_EQ(Error(), Error(plat::kStoreInvalidParameter));
    EXPECT_EQ(std::filesystem::path(plat::StorePath()).parent_path(), dir_);
    for (const auto& [name, value] : {std::pair{"Low", INT32_MIN}, {"High", INT32_MAX}, {"Twice", 5}, {"twice", 7}}) {
        ASSERT_TRUE(plat::WriteNumber(key, name, value));
    }
    ASSERT_TRUE(plat::WriteString(key, "Name", "ABCDEFGHIJK"));
    // Same names in another key, and the hosts' preferences, are other values.
    ASSERT_TRUE(plat::WriteNumber(OpenKey("Corvane\\Other"), "Twice", 99));
    ASSERT_TRUE(plat::WriteHostPreference("Twice", 3) && plat::WriteHostPreference("TWICE", 4));
    Restart();
    key = OpenKey("CORVANE\\reedshot", &created);  // paths ignore case
    EXPECT_FALSE(created);
    EXPECT_EQ(Read(key, "Low") + " " + Read(key, "High") + " " + Read(key, "TWICE"), "-2147483648 2147483647 7");
    EXPECT_EQ(Read(OpenKey("Corvane\\Other"), "Twice"), "99");
    int32_t value = 0;
    EXPECT_TRUE(plat::ReadHostPreference("twice", value) && value == 4 && !plat::ReadHostPreference("Low", value));
    EXPECT_EQ(Error(), Error(plat::kStoreFileNotFound));
    uint32_t size = 0;
    char cut[9];
    ASSERT_TRUE(plat::ReadStringSize(key, "Name", size) && plat::ReadString(key, "Name", cut, sizeof cut));
    EXPECT_EQ(std::to_string(size) + " " + cut, "12 ABCDEFGH");

    EXPECT_EQ(Read(key, "Missing") + " " + Read(key, "Name"), Error(plat::kStoreFileNotFound) + " " + Error(plat::kStoreInvalidParameter));
    char text[8] = "keep";
    uint32_t bytes = 77;
    EXPECT_FALSE(plat::ReadString(key, "Low", text, sizeof text) || plat::ReadStringSize(key, "Low", bytes));
    EXPECT_EQ(std::string(text) + " " + std::to_string(bytes), "keep 77");
    plat::CloseKey(key);
    EXPECT_EQ(Read(key, "Low"), Error(plat::kStoreInvalidHandle));
    EXPECT_FALSE(plat::WriteNumber(key, "Low", 4) || plat::WriteNumber(plat::kNoKey, "Low", 4));
    EXPECT_TRUE(Messages().empty());

    // Planted values that are no 32-bit number read as missing: 2^32 + 5 used to read as 5.
    key = OpenKey();
    const char* names[] = {"Wide", "Low", "Real", "Word", "Blob"};
    for (const char* name : names) ASSERT_TRUE(plat::WriteNumber(key, name, 0));
    ASSERT_TRUE(plat::testing::ExecuteInStore(
        "UPDATE reg_values SET number = CASE name WHEN 'Wide' THEN 4294967301 WHEN 'Low' THEN -2147483649 "
        "WHEN 'Real' THEN 2.5 WHEN 'Word' THEN 'seventeen' ELSE x'0011' END WHERE name IN ('Wide', 'Low', 'Real', 'Word', 'Blob')"));
    for (const char* name : names) EXPECT_EQ(Read(key, name), Error(plat::kStoreInvalidParameter)) << name;
    // A full store refuses writes and keeps the old values.
    ASSERT_TRUE(plat::WriteNumber(key, "Kept", 1));
    plat::testing::LimitStorePages(1);
    uint32_t error = plat::kStoreOk;
    for (int i = 0; i < 200000 && error == plat::kStoreOk; ++i) {
        if (!plat::WriteNumber(key, ("filler" + std::to_string(i)).c_str(), i)) error = plat::StoreLastError();
    }
    EXPECT_EQ(error, plat::kStoreDiskFull);
    Restart();
    EXPECT_TRUE(Read(OpenKey(), "Kept") == "1" && Messages().empty());
}

TEST_F(RegistryTest, AnImageOfTheStoreOpensInMemoryAndGarbageStartsAfresh) {
    ASSERT_TRUE(plat::WriteNumber(OpenKey(), "Kept", 42));
    const std::vector<uint8_t> image = plat::testing::StoreImage();
    ASSERT_GT(image.size(), 1024u);
    plat::testing::OpenStoreImage(image);
    EXPECT_TRUE(Read(OpenKey(), "Kept") == "42" && Messages().empty());
    std::vector<uint8_t> garbage(image);
    for (size_t i = 0; i < 100; ++i) garbage[i] = static_cast<uint8_t>(i * 37);
    plat::testing::OpenStoreImage(garbage);
    EXPECT_TRUE(Read(OpenKey(), "Kept") == Error(plat::kStoreFileNotFound) && Messages().size() == 1u);
    ASSERT_TRUE(plat::WriteNumber(OpenKey(), "Kept", 7));  // writes work for the rest of the run
    EXPECT_EQ(Read(OpenKey(), "Kept"), "7");
}

using DatabaseTest = StoreTest;

TEST_F(DatabaseTest, NamesAreUniqueAndCheckedAndHandlesRunOutWithTheMemoryError) {
    EXPECT_TRUE(plat::CreateDatabase("HISCORE", 1) != 0u && plat::CreateDatabase(std::string(32, 'D').c_str(), 2) != 0u);
    Restart();
    const std::pair<std::string, uint32_t> refused[] = {{"HISCORE", plat::kStoreDupName},
                                                        {"hiscore", plat::kStoreDupName},
                                                        {"", plat::kStoreInvalidParameter},
                                                        {std::string(33, 'D'), plat::kStoreInvalidParameter}};
    for (const auto& [name, error] : refused) {
        EXPECT_EQ(plat::CreateDatabase(name.c_str(), 2), 0u) << name;
        EXPECT_EQ(Error(), Error(error)) << name;
    }
    for (const auto& [name, error] : {std::pair{"MISSING", plat::kStoreFileNotFound}, {nullptr, plat::kStoreInvalidParameter}}) {
        EXPECT_TRUE(plat::OpenDatabase(name) == plat::kNoDatabase && Error() == Error(error)) << error;
    }

    std::vector<plat::DbHandle> handles;
    for (plat::DbHandle db; (db = plat::OpenDatabase("HISCORE")) != plat::kNoDatabase && handles.size() < 1000;) handles.push_back(db);
    EXPECT_EQ(Error(), Error(plat::kStoreNotEnoughMemory));
    EXPECT_TRUE(handles.size() >= 8 && handles.size() < 1000) << handles.size();
    plat::CloseDatabase(handles.back());
    EXPECT_NE(plat::OpenDatabase("HISCORE"), plat::kNoDatabase);
}

TEST_F(DatabaseTest, RecordsKeepTheirOrderSeekWalksThemAWriteOverOneMergesAndPlantedPropertiesAreLeftOut) {
    ASSERT_NE(plat::CreateDatabase("ORDER", 1), 0u);
    plat::DbHandle db = plat::OpenDatabase("ORDER");
    uint32_t index = 99;
    EXPECT_TRUE(plat::SeekDatabase(db, plat::SeekFrom::kBeginning, &index) == 0u && Error() == Error(plat::kStoreNoMoreItems));
    plat::RecordId ids[3];
    for (int32_t i = 0; i < 3; ++i) {
        const plat::DbProp props[] = {Number(1, 100 - i), Text(4, i == 1 ? "MID" : "")};
        ASSERT_NE(ids[i] = plat::WriteRecord(db, 0, props, 2), 0u);
    }
    // The first record gets a flag in front and a new text: the number it had stays.
    const plat::DbProp over[] = {{plat::PropId(0, plat::kPropBool), 1, nullptr}, Text(4, "XYZ")};
    EXPECT_EQ(plat::WriteRecord(db, ids[0], over, 2), ids[0]);
    ASSERT_TRUE(plat::CloseDatabase(db));
    Restart();

    db = plat::OpenDatabase("ORDER");
    EXPECT_TRUE(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &index) == ids[2] && index == 2u);
    EXPECT_TRUE(plat::SeekDatabase(db, plat::SeekFrom::kBeginning, &index) == ids[0] && index == 0u);
    EXPECT_EQ(Record(db), std::to_string(ids[0]) + ": " + Id(1, plat::kPropNumber) + "=100 " + Id(4, plat::kPropString) + "='XYZ' " + Id(0, plat::kPropBool) + "=1");
    for (uint32_t i = 1; i < 3; ++i) {
        ASSERT_TRUE(plat::SeekDatabase(db, plat::SeekFrom::kNext, &index) == ids[i] && index == i);
        EXPECT_EQ(Record(db), std::to_string(ids[i]) + ": " + Id(1, plat::kPropNumber) + "=" + std::to_string(100 - i) + " " +
                               Id(4, plat::kPropString) + (i == 1 ? "='MID'" : "=''"));
    }
    EXPECT_TRUE(plat::SeekDatabase(db, plat::SeekFrom::kNext) == 0u && Record(db) == "none");
    EXPECT_TRUE(plat::CloseDatabase(db) && !plat::CloseDatabase(db) && Error() == Error(plat::kStoreInvalidHandle));
    // Planted properties the program could not have written are left out.
    ASSERT_NE(plat::CreateDatabase("DB", 1), 0u);
    db = plat::OpenDatabase("DB");
    const plat::DbProp props[] = {Number(0, 1), Number(1, 2), Number(2, 3), Number(3, 4), Text(4, "x"), Number(5, 6)};
    const plat::RecordId id = plat::WriteRecord(db, 0, props, 6);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(plat::CloseDatabase(db));
    const std::string sql = "UPDATE props SET number = CASE prop_id WHEN " + Id(0, plat::kPropNumber) + " THEN 8589934592 WHEN " +
                            Id(1, plat::kPropNumber) + " THEN NULL WHEN " + Id(2, plat::kPropNumber) + " THEN 'seven' WHEN " +
                            Id(3, plat::kPropNumber) + " THEN 1.5 ELSE number END, text = CASE prop_id WHEN " +
                            Id(4, plat::kPropString) + " THEN 'ab' || char(0) || 'cd' ELSE text END;"
                            "INSERT INTO props VALUES(" + std::to_string(id) + ", 4294967299, 9, 5, NULL);"
                            "INSERT INTO props VALUES(" + std::to_string(id) + ", -1, 10, 5, NULL);";
    ASSERT_TRUE(plat::testing::ExecuteInStore(sql.c_str()));
    // A text stops at its first NUL.
    EXPECT_EQ(Record(plat::OpenDatabase("DB")), std::to_string(id) + ": " + Id(4, plat::kPropString) + "='ab' " + Id(5, plat::kPropNumber) + "=6");
}

TEST_F(DatabaseTest, BadWritesChangeNothingAndWritesLandOnlyWhenTheDatabaseCloses) {
    ASSERT_TRUE(plat::CreateDatabase("MINE", 1) != 0u && plat::CreateDatabase("THEIRS", 1) != 0u);
    plat::DbHandle theirs = plat::OpenDatabase("THEIRS");
    const plat::DbProp one[] = {Number(1, 1)};
    const plat::RecordId foreign = plat::WriteRecord(theirs, 0, one, 1);
    ASSERT_NE(foreign, 0u);
    plat::CloseDatabase(theirs);

    plat::DbHandle db = plat::OpenDatabase("MINE");
    const plat::DbProp unknownType[] = {{plat::PropId(1, static_cast<plat::PropType>(7)), 1, nullptr}};
    const plat::DbProp noText[] = {Number(1, 1), Text(4, nullptr)};
    // Each bad write: database, record, properties, count, the error.
    const std::tuple<plat::DbHandle, plat::RecordId, const plat::DbProp*, uint16_t, uint32_t> bad[] = {
        {db, 0, one, 0, plat::kStoreInvalidParameter},         {db, 0, nullptr, 1, plat::kStoreInvalidParameter},
        {db, 0, unknownType, 1, plat::kStoreInvalidParameter}, {db, 0, noText, 2, plat::kStoreInvalidParameter},
        {db, foreign, one, 1, plat::kStoreInvalidParameter},   {plat::kNoDatabase, 0, one, 1, plat::kStoreInvalidHandle}};
    for (const auto& [in, record, props, count, error] : bad) {
        EXPECT_TRUE(plat::WriteRecord(in, record, props, count) == 0u && Error() == Error(error)) << error;
    }
    // Two good writes, killed before the close, then two more that are closed.
    for (const bool close : {false, true}) {
        db = plat::OpenDatabase("MINE");
        ASSERT_TRUE(plat::WriteRecord(db, 0, one, 1) != 0u && plat::WriteRecord(db, 0, one, 1) != 0u);
        if (close) { ASSERT_TRUE(plat::CloseDatabase(db)); }
        Restart();
    }
    uint32_t index = 9;
    EXPECT_TRUE(plat::SeekDatabase(plat::OpenDatabase("MINE"), plat::SeekFrom::kEnd, &index) != 0u && index == 1u);
    EXPECT_TRUE(plat::SeekDatabase(plat::OpenDatabase("THEIRS"), plat::SeekFrom::kEnd, &index) == foreign && index == 0u);
}

using DamagedStoreTest = StoreTest;

// Each damage to a store of a dozen pages: the file is set aside as it was, named in one message; a fresh store starts.
TEST_F(DamagedStoreTest, ADamagedFileIsSetAsideOnceAndAStoreThatCannotBeOpenedIsWorkedAroundForOneRun) {
    const std::pair<const char*, std::function<void(std::vector<uint8_t>&)>> damages[] = {
        {"garbage", [](std::vector<uint8_t>& bytes) { std::generate(bytes.begin(), bytes.end(), std::mt19937(7)); }},
        {"truncated", [](std::vector<uint8_t>& bytes) { bytes.resize(bytes.size() / 2); }},
        {"scrambled page", [](std::vector<uint8_t>& bytes) { std::generate(bytes.begin() + 5 * 4096, bytes.begin() + 6 * 4096, std::mt19937(11)); }},
        // Pages well formed, keys out of order: SoundVol would be missed, saved twice, the old one read next run.
        {"name out of order", [](std::vector<uint8_t>& bytes) {
             const std::string wanted = "SoundVol";
             const auto at = std::search(bytes.begin(), bytes.end(), wanted.begin(), wanted.end());
             ASSERT_NE(at, bytes.end());
             at[0] = 'Z';  // now after UserName
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        Again();
        plat::KeyHandle key = OpenKey();
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
        EXPECT_TRUE(created && plat::WriteNumber(key, "SoundVol", 3));
        OpenKey("Corvane\\Other");
        const auto kept = KeptFiles();
        ASSERT_TRUE(kept.size() == 1u && Messages().size() == 1u);
        EXPECT_TRUE(ReadBytes(kept[0]) == bytes && Messages()[0].find(kept[0].string()) != std::string::npos);
        Restart();
        EXPECT_EQ(Read(OpenKey(), "SoundVol"), "3");
        EXPECT_EQ(std::pair(Messages().size(), KeptFiles().size()), (std::pair<size_t, size_t>(1, 1)));
    }
    // Neither a folder where the file should be nor one that cannot be made is a broken database: nothing is renamed, the run works in memory and says so.
    for (const bool blockedFolder : {false, true}) {
        SCOPED_TRACE(blockedFolder ? "folder" : "file");
        Again();
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
        EXPECT_TRUE(created && plat::WriteNumber(key, "SoundVol", 3) && Read(key, "SoundVol") == "3" && KeptFiles().empty());
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_NE(Messages()[0].find(named), std::string::npos);
    }
}

}  // namespace
