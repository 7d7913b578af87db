// The program's own application object, started on a store in a fresh folder of the test's own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/game_app.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"

inline bool StartAppOnFreshStore(const std::string& name) {
    plat::testing::CloseStore();
    const auto dir = std::filesystem::path(::testing::TempDir()) / ("reedshot_" + name + "_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    setenv("REEDSHOT_DATA_DIR", dir.c_str(), 1);
    plat::testing::Reset();
    return theApp.Initialise();
}

inline void StopApp() {
    theApp.Shutdown();
    plat::testing::CloseStore();
}
