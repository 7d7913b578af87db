// Every test gets a store of its own in a fresh folder, named through
// REEDSHOT_DATA_DIR before the store opens.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/store/store_testing.h"
#include "platform/testing.h"

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::CloseStore();
        plat::testing::Reset();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("reedshot_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        setenv("REEDSHOT_DATA_DIR", dir_.c_str(), 1);
    }

    void TearDown() override {
        plat::testing::CloseStore();
        std::filesystem::remove_all(dir_);
    }

    // As if the program ended and started again: the next call opens the file afresh.
    static void Restart() { plat::testing::CloseStore(); }

    // The texts of the message boxes shown so far.
    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& box : plat::testing::MessageBoxes()) texts.push_back(box.text);
        return texts;
    }

    // Files beside the store that hold a set-aside copy.
    std::vector<std::filesystem::path> KeptFiles() const {
        std::vector<std::filesystem::path> kept;
        if (!std::filesystem::exists(dir_)) return kept;
        for (const auto& file : std::filesystem::directory_iterator(dir_)) {
            const std::string name = file.path().filename().string();
            if (name.find(".damaged-") != std::string::npos && name.find("-wal") == std::string::npos) {
                kept.push_back(file.path());
            }
        }
        return kept;
    }

    std::filesystem::path dir_;
};
