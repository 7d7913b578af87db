// The real program's command line, headless from small scripts or random input, driving stand-in programs.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/panel_image.h"
#include "platform/core/script.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {

// What the stand-in program saw.
struct Seen {
    uint32_t lastTick = 0;
    std::map<uint32_t, int> counts;  // by message id
    bool quadrant[4] = {};
    int upsOnQuitButton = 0;
    std::vector<plat::Message> input;
    int Of(uint32_t id) const { return counts.count(id) ? counts.at(id) : 0; }
};
Seen g_seen;
const char* g_view = nullptr;  // the screen the stand-in shows, as its trace record
int g_stopAfter = 0;           // messages before it quits by itself; 0 never
uint32_t g_sleepFirst = 0;
bool g_huntAsked = false, g_otherAsked = false;

int StandIn() {
    g_huntAsked = plat::StartOption("hunt") && plat::StartOption("--hunt");
    g_otherAsked = plat::StartOption("mute") || plat::StartOption("") || plat::StartOption(nullptr);
    if (g_view != nullptr) plat::Trace("view", g_view);
    plat::StartTimer(1, 10);
    if (g_sleepFirst != 0) plat::Sleep(g_sleepFirst);
    int count = 0;
    for (plat::Message m{}; plat::GetMessage(m);) {
        g_seen.lastTick = plat::GetTickCount();
        if (g_stopAfter != 0 && ++count == g_stopAfter) return 0;
        if (m.id == plat::kMsgTimer) continue;
        g_seen.input.push_back(m);
        ++g_seen.counts[m.id];
        const plat::Point view = plat::PanelToView(plat::PenPoint(m.lParam));
        if (m.id == plat::kMsgPenDown) g_seen.quadrant[(view.x < 160 ? 0 : 1) + (view.y < 120 ? 0 : 2)] = true;
        if (m.id == plat::kMsgPenUp) g_seen.upsOnQuitButton += view.x >= 237 && view.y >= 195 ? 1 : 0;
    }
    return 0;
}

// Reaches for the queue without ever letting time move.
int Spinner() {
    plat::StartTimer(1, 10);
    for (plat::Message m{}; plat::GetMessage(m);) plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    return 0;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        g_seen = Seen{};
        g_view = nullptr;
        g_stopAfter = 0;
        g_sleepFirst = 0;
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
        std::ofstream(dir_ / "script.txt") << text;
        return (dir_ / "script.txt").string();
    }
    // Runs the program with these arguments after its name; keeps what it printed.
    int Run(std::vector<std::string> args, int (*entry)() = &StandIn, bool capture = true) {
        args.insert(args.begin(), "reedshot");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        if (!capture) return plat::RunProgram(static_cast<int>(argv.size()), argv.data(), entry);
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        const int status = plat::RunProgram(static_cast<int>(argv.size()), argv.data(), entry);
        out_ = ::testing::internal::GetCapturedStdout();
        err_ = ::testing::internal::GetCapturedStderr();
        return status;
    }
    std::string Read(const char* name) {
        std::stringstream s;
        s << std::ifstream(dir_ / name).rdbuf();
        return s.str();
    }

    std::filesystem::path dir_;
    std::string out_, err_;
};

TEST_F(ProgramTest, StartOptionsReachTheGameHeadlessTooAMissingShotsFolderIsMadeVersionAndHelpPrintWholeLinesAndBadLinesAreRefused) {
    const std::string script = Script("10 shot first\n100 quit\n");
    ASSERT_EQ(Run({"--headless", "--hunt", "--shots", (dir_ / "new" / "shots").string(), "--script", script}), 0);
    EXPECT_TRUE(std::filesystem::exists(dir_ / "new" / "shots" / "first.png"));
    EXPECT_EQ(std::pair(g_huntAsked, g_otherAsked), std::pair(true, false));
    // Without --shots a shot lands in the working folder: this run takes none.
    ASSERT_EQ(Run({"--headless", "--script", Script("100 quit\n")}), 0);
    EXPECT_FALSE(g_huntAsked);
    // A recording of a run started with --hunt starts its replay the same way.
    ASSERT_EQ(Run({"--headless", "--script", Script("option hunt\n100 quit\n")}), 0);
    EXPECT_TRUE(g_huntAsked);
    EXPECT_EQ(Run({"--headless", "--hunting", "--script", script}), 2);
    EXPECT_NE(err_.find("bad option '--hunting'"), std::string::npos);
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_EQ(out_.rfind("reedshot ", 0), 0u) << out_;
    EXPECT_NE(out_.find_first_of("0123456789"), std::string::npos) << out_;
    EXPECT_EQ(out_.back(), '\n');
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_NE(out_.find("--hunt"), std::string::npos);
    EXPECT_NE(out_.find("--version"), std::string::npos);
    EXPECT_EQ(out_.back(), '\n');
    // Bad command lines are refused before anything runs (so without a display), each saying why.
    const std::string plain = Script("10 quit\n");
    std::ofstream(dir_ / "bad.txt") << "start 5\n100 tap 1 1\n\x89PNG\n";
    std::fclose(std::fopen((dir_ / "file").c_str(), "w"));
    const std::pair<std::vector<std::string>, const char*> bad[] = {
        {{"--replay", (dir_ / "bad.txt").string()}, "is no recording: line 3: a line starts with a time"},
        {{"--replay", plain, "--hunt"}, "as it was started"},
        {{"--headless", "--shots", (dir_ / "file" / "x").string(), "--script", plain}, "cannot make the shots folder"},
        {{"--headless"}, "needs --script FILE or --monkey SEED"},
        {{"--monkey", "1"}, ""},
        {{"--headless", "--monkey", "x"}, ""},
        {{"--headless", "--monkey", "-1"}, ""},
        {{"--headless", "--monkey", "1", "--hours", "0"}, ""},
        {{"--headless", "--monkey", "1", "--hours", "1001"}, ""},
        {{"--headless", "--monkey", "1", "--hours", "1h"}, ""},
        {{"--headless", "--monkey", "1", "--script", plain}, ""},
        {{"--headless", "--monkey", "1", "--record", (dir_ / "no" / "r.txt").string()}, ""},
    };
    for (const auto& [args, says] : bad) {
        EXPECT_EQ(Run(args), 2) << args.back();
        EXPECT_NE(err_.find(says), std::string::npos) << args.back() << " gave: " << err_;
        EXPECT_FALSE(err_.empty());
    }
    EXPECT_TRUE(g_seen.input.empty());
}

// Elsewhere than on the menu the monkey taps the quit button too.
TEST_F(ProgramTest, AMonkeyRunLastsItsHoursWithEveryKindOfInputAndLeavesTheMenusQuitButtonAlone) {
    g_view = "\"from\":0,\"to\":7,\"push\":true";
    ASSERT_EQ(Run({"--headless", "--monkey", "9", "--hours", "0.1"}), 0) << out_;
    EXPECT_TRUE(g_seen.lastTick >= 360000 && g_seen.lastTick < 430000) << g_seen.lastTick;  // 0.1 h, an idle spell may carry past it
    EXPECT_NE(out_.find("monkey: 0.1"), std::string::npos) << out_;
    EXPECT_GT(g_seen.Of(plat::kMsgPenDown), 200);
    EXPECT_EQ(g_seen.Of(plat::kMsgPenDown), g_seen.Of(plat::kMsgPenUp));  // every touch lets go
    EXPECT_EQ(g_seen.Of(plat::kMsgKeyDown) + g_seen.Of(plat::kMsgHotKey), g_seen.Of(plat::kMsgKeyUp));
    for (const uint32_t id : {plat::kMsgKeyDown, plat::kMsgHotKey, plat::kMsgChar, plat::kMsgFocusLost}) EXPECT_GT(g_seen.Of(id), 0) << id;
    for (bool q : g_seen.quadrant) EXPECT_TRUE(q);
    EXPECT_GT(g_seen.upsOnQuitButton, 0);
    g_seen = Seen{};
    g_view = "\"from\":14,\"to\":0,\"push\":false";
    ASSERT_EQ(Run({"--headless", "--monkey", "9", "--hours", "0.1"}), 0) << out_;
    EXPECT_GT(g_seen.Of(plat::kMsgPenUp), 200);
    EXPECT_EQ(g_seen.upsOnQuitButton, 0);
}

// The program sleeps first: no gesture starts meanwhile.
TEST_F(ProgramTest, TheMonkeysRecordingIsAScriptAndTheSameSeedRecordsTheSame) {
    g_sleepFirst = 5000;
    for (const char* run : {"3 a.txt", "3 b.txt", "4 c.txt"}) {
        g_seen = Seen{};
        ASSERT_EQ(Run({"--headless", "--monkey", std::string(run, 1), "--hours", "0.02", "--record", (dir_ / (run + 2)).string()}), 0);
    }
    EXPECT_EQ(Read("a.txt"), Read("b.txt"));
    EXPECT_NE(Read("a.txt"), Read("c.txt"));
    plat::Script script;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(Read("c.txt"), script, error)) << error;
    ASSERT_FALSE(script.actions.empty());
    EXPECT_EQ(script.actions.back().kind, plat::ScriptAction::kQuit);
    EXPECT_GE(script.actions.front().tick, 5000u);
    // Only characters a script cannot spell are left out.
    size_t unspelled = 0;
    for (const plat::Message& m : g_seen.input) unspelled += plat::FormatScriptLine(m, 0).empty() ? 1 : 0;
    EXPECT_EQ(script.actions.size(), g_seen.input.size() - unspelled + 1);
}

TEST_F(ProgramTest, AProgramThatEndsBeforeTheHoursFailsTheRunAndAStoppedClockTheWatchdog) {
    g_stopAfter = 500;
    EXPECT_EQ(Run({"--headless", "--monkey", "1", "--hours", "1"}), 1);
    EXPECT_NE(out_.find("ended by itself"), std::string::npos) << out_;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Run({"--headless", "--monkey", "1"}, &Spinner, false), ::testing::ExitedWithCode(3), "virtual time stopped");
}

}  // namespace
