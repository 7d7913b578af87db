// Every test gets a store of its own in a fresh folder, named through REEDSHOT_DATA_DIR before the store
// opens; helpers read values back as text.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"

constexpr const char* kPath = "Corvane\\Reedshot";

// The current record as "id: prop=value ...", texts quoted; "none" when there is none.
inline std::string Record(plat::DbHandle db) {
    plat::DbProp* props = nullptr;
    uint16_t count = 0;
    const plat::RecordId id = plat::ReadRecord(db, props, count);
    if (id == 0) return "none";
    std::string out = std::to_string(id) + ":";
    for (uint16_t i = 0; i < count; ++i) {
        out += " " + std::to_string(props[i].id) + "=" +
               (props[i].text ? "'" + std::string(props[i].text) + "'" : std::to_string(props[i].number));
    }
    plat::FreeRecord(props);
    return out;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::CloseStore();
        plat::testing::Reset();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("reedshot_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        setenv("REEDSHOT_DATA_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        plat::testing::CloseStore();
        std::filesystem::remove_all(dir_);
    }
    // Starts afresh, as a new case of a table.
    void Again() {
        TearDown();
        SetUp();
    }
    // As if the program ended and started again: the next call opens the file afresh.
    static void Restart() { plat::testing::CloseStore(); }

    static plat::KeyHandle OpenKey(const char* path = kPath, bool* createdOut = nullptr) {
        plat::KeyHandle key = plat::kNoKey;
        bool created = false;
        EXPECT_TRUE(plat::OpenOrCreateKey(path, key, created));
        if (createdOut) *createdOut = created;
        return key;
    }
    static std::string Error(uint32_t code = plat::StoreLastError()) { return "error " + std::to_string(code); }
    // A value read back: the number, or the error, marked when the failed read touched its output.
    static std::string Read(plat::KeyHandle key, const char* name) {
        int32_t value = 123;
        if (plat::ReadNumber(key, name, value)) return std::to_string(value);
        return Error() + (value != 123 ? " touched" : "");
    }
    // The message boxes shown so far: their texts, or as "text|caption|flags".
    static std::vector<std::string> Messages(bool whole = false) {
        std::vector<std::string> out;
        for (const auto& box : plat::testing::MessageBoxes()) out.push_back(whole ? box.text + "|" + box.caption + "|" + std::to_string(box.flags) : box.text);
        return out;
    }
    static std::vector<std::string> Boxes() { return Messages(true); }
    // Files beside the store that hold a set-aside copy.
    std::vector<std::filesystem::path> KeptFiles() const {
        std::vector<std::filesystem::path> kept;
        if (!std::filesystem::exists(dir_)) return kept;
        for (const auto& file : std::filesystem::directory_iterator(dir_)) {
            const std::string name = file.path().filename().string();
            if (name.find(".damaged-") != std::string::npos && name.find("-wal") == std::string::npos) kept.push_back(file.path());
        }
        return kept;
    }

    std::filesystem::path dir_;
};
