// The real program's command line, headless: a bad script is refused before
// anything runs, and a timedemo sums up its run.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"

namespace {

using namespace e2e;

TEST(HeadlessRun, ABadScriptStopsBeforeTheGameStarts) {
    const fs::path dir = fs::temp_directory_path() / ("reedshot-e2e-" + std::to_string(::getpid()));
    EXPECT_EQ(RunGame(dir, "100 tap 1\n"), 2);
    EXPECT_NE(ReadFile(dir / "stderr.txt").find("line 1"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "trace.jsonl") && fs::file_size(dir / "trace.jsonl") > 0);
    fs::remove_all(dir);
}

TEST(Timedemo, SummarisesTheRunAndCountsTheProgramsAllocations) {
    const fs::path dir = fs::temp_directory_path() / ("reedshot-timedemo-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "script.txt") << "200 tap 100 100\n1000 quit\n";
    const std::string command = "REEDSHOT_DATA_DIR=" + (dir / "data").string() + " " + std::string(REEDSHOT_PATH) +
                                " --headless --hunt --timedemo --script " + (dir / "script.txt").string() + " >" +
                                (dir / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string out = ReadFile(dir / "out.txt");
    fs::remove_all(dir);
    EXPECT_NE(out.find("timedemo: 1.0 s of game"), std::string::npos) << out;
    // A heartbeat every 10 ms and the two pen messages.
    EXPECT_NE(out.find("timedemo: 102 events"), std::string::npos) << out;
    EXPECT_NE(out.find("allocations per event after start-up"), std::string::npos) << out;
}

}  // namespace
