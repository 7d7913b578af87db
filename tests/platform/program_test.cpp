// The command line of the real program, run headless from small scripts.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/testing.h"

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        // Tests run side by side: a folder of each test's own.
        dir_ = std::filesystem::path(::testing::TempDir()) /
               (std::string("reedshot_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        plat::testing::Reset();
    }

    std::string Script(const char* text) {
        const std::string path = (dir_ / "script.txt").string();
        std::FILE* file = std::fopen(path.c_str(), "w");
        std::fputs(text, file);
        std::fclose(file);
        return path;
    }

    // Runs the program with these arguments after its name.
    int Run(std::vector<std::string> args, int (*entry)()) {
        args.insert(args.begin(), "reedshot");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        return plat::RunProgram(static_cast<int>(argv.size()), argv.data(), entry);
    }

    std::filesystem::path dir_;
};

bool g_huntAsked = false;
bool g_otherAsked = false;

int AskStartOptions() {
    g_huntAsked = plat::StartOption("hunt") && plat::StartOption("--hunt");
    g_otherAsked = plat::StartOption("mute") || plat::StartOption("") || plat::StartOption(nullptr);
    return 0;
}

int Idle() { return 0; }

// Reads messages until the script is over, as the game's loop does.
int Loop() {
    for (plat::Message m{}; plat::GetMessage(m);) {
    }
    return 0;
}

TEST_F(CommandLineTest, StartOptionsReachTheGameHeadlessToo) {
    const std::string script = Script("100 quit\n");
    ASSERT_EQ(Run({"--headless", "--hunt", "--script", script}, &AskStartOptions), 0);
    EXPECT_TRUE(g_huntAsked);
    EXPECT_FALSE(g_otherAsked);
    ASSERT_EQ(Run({"--headless", "--script", script}, &AskStartOptions), 0);
    EXPECT_FALSE(g_huntAsked);
    // A recording of a run started with --hunt starts its replay the same way.
    ASSERT_EQ(Run({"--headless", "--script", Script("option hunt\n100 quit\n")}, &AskStartOptions), 0);
    EXPECT_TRUE(g_huntAsked);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run({"--headless", "--hunting", "--script", script}, &AskStartOptions), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("bad option '--hunting'"), std::string::npos);
}

TEST_F(CommandLineTest, VersionAndHelpPrintWholeLines) {
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Run({"--version"}, &Idle), 0);
    const std::string version = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(version.rfind("reedshot ", 0), 0u) << version;
    EXPECT_NE(version.find_first_of("0123456789"), std::string::npos) << version;
    EXPECT_EQ(version.back(), '\n');
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(Run({"--help"}, &Idle), 0);
    const std::string help = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(help.find("--hunt"), std::string::npos);
    EXPECT_NE(help.find("--version"), std::string::npos);
    EXPECT_EQ(help.back(), '\n');
}

// Refused before any window opens, so this needs no display.
TEST_F(CommandLineTest, AReplayRefusesADamagedRecordingByItsLineAndOptionsItDoesNotTake) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run({"--replay", Script("start 5\n100 tap 1 1\n\x89PNG\n")}, &Loop), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("is no recording: line 3: a line starts with a time"),
              std::string::npos);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run({"--replay", Script("100 quit\n"), "--hunt"}, &Loop), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("as it was started"), std::string::npos);
}

TEST_F(CommandLineTest, AMissingShotsFolderIsMadeWithItsParents) {
    const std::filesystem::path shots = dir_ / "new" / "shots";
    ASSERT_EQ(Run({"--headless", "--shots", shots.string(), "--script", Script("10 shot first\n")}, &Loop), 0);
    EXPECT_TRUE(std::filesystem::exists(shots / "first.png"));
    // A folder that cannot be made is an error before anything runs.
    const std::filesystem::path blocked = dir_ / "file";
    std::fclose(std::fopen(blocked.c_str(), "w"));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Run({"--headless", "--shots", (blocked / "x").string(), "--script", Script("10 quit\n")}, &Idle), 2);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot make the shots folder"), std::string::npos);
}

}  // namespace
