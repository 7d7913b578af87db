// The real program, run headless from a script: it starts, draws, answers
// input, shuts down, and does exactly the same again on a second run.
#include <gtest/gtest.h>
#include <unistd.h>

#include "game_run.h"

namespace {

using namespace e2e;

class HeadlessRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("reedshot-e2e-" + std::to_string(::getpid()));
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

// Skip the introduction, tap the title, and look at the menu sliding in.
const char* kScript =
    "200 shot first\n"
    "300 tap 10 203\n"
    "+200 tap 160 120\n"
    "+100 press right\n"
    "+400 shot second\n"
    "+50 quit\n";

TEST_F(HeadlessRun, DrawsAnswersInputAndRepeatsItselfExactly) {
    ASSERT_EQ(RunGame(root_ / "a", kScript), 0) << ReadFile(root_ / "a" / "stderr.txt");
    ASSERT_EQ(RunGame(root_ / "b", kScript), 0) << ReadFile(root_ / "b" / "stderr.txt");

    const std::string first = ReadFile(root_ / "a" / "first.png");
    const std::string second = ReadFile(root_ / "a" / "second.png");
    ASSERT_GT(first.size(), 1000u);
    EXPECT_NE(first, second) << "the input changed nothing on screen";

    const std::string trace = RunTrace(root_ / "a");
    EXPECT_NE(trace.find("\"event\":\"window\""), std::string::npos);
    EXPECT_NE(trace.find("\"event\":\"resource\",\"type\":\"PCT\",\"id\":146,\"found\":true"), std::string::npos);
    EXPECT_NE(trace.find("\"event\":\"present\""), std::string::npos);
    EXPECT_NE(trace.find("{\"tick\":1050,\"event\":\"exit\"}"), std::string::npos);

    EXPECT_EQ(trace, RunTrace(root_ / "b"));
    EXPECT_EQ(first, ReadFile(root_ / "b" / "first.png"));
    EXPECT_EQ(second, ReadFile(root_ / "b" / "second.png"));
    // The menu music was heard: the capture is not all silence.
    const std::string audio = ReadFile(root_ / "a" / "audio.wav");
    ASSERT_GT(audio.size(), 44u + 22050u * 2);
    EXPECT_NE(audio.find_first_not_of('\x80', 44), std::string::npos);
    EXPECT_EQ(audio, ReadFile(root_ / "b" / "audio.wav"));
}

TEST_F(HeadlessRun, ABadScriptStopsBeforeTheGameStarts) {
    EXPECT_EQ(RunGame(root_ / "bad", "100 tap 1\n"), 2);
    EXPECT_NE(ReadFile(root_ / "bad" / "stderr.txt").find("line 1"), std::string::npos);
    EXPECT_FALSE(fs::exists(root_ / "bad" / "trace.jsonl") && fs::file_size(root_ / "bad" / "trace.jsonl") > 0);
}

}  // namespace

namespace {

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
