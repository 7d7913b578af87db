// The random-input soak's host, driving small stand-in programs through the
// real command line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
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
    int downs = 0, ups = 0, keyDowns = 0, keyUps = 0, hotKeys = 0, chars = 0, focusLost = 0;
    bool quadrant[4] = {};
    int upsOnQuitButton = 0;
    std::vector<plat::Message> input;
};
Seen g_seen;
const char* g_view = nullptr;  // the screen the stand-in shows, as its trace record
int g_stopAfter = 0;           // messages before it quits by itself; 0 never
uint32_t g_sleepFirst = 0;

int StandIn() {
    if (g_view != nullptr) plat::Trace("view", g_view);
    plat::StartTimer(1, 10);
    if (g_sleepFirst != 0) plat::Sleep(g_sleepFirst);
    int count = 0;
    for (plat::Message m{}; plat::GetMessage(m);) {
        g_seen.lastTick = plat::GetTickCount();
        if (g_stopAfter != 0 && ++count == g_stopAfter) return 0;
        if (m.id == plat::kMsgTimer) continue;
        g_seen.input.push_back(m);
        const plat::Point view = plat::PanelToView(plat::PenPoint(m.lParam));
        switch (m.id) {
            case plat::kMsgPenDown:
                ++g_seen.downs;
                g_seen.quadrant[(view.x < 160 ? 0 : 1) + (view.y < 120 ? 0 : 2)] = true;
                break;
            case plat::kMsgPenUp:
                ++g_seen.ups;
                g_seen.upsOnQuitButton += view.x >= 237 && view.y >= 195 ? 1 : 0;
                break;
            case plat::kMsgKeyDown: ++g_seen.keyDowns; break;
            case plat::kMsgKeyUp: ++g_seen.keyUps; break;
            case plat::kMsgHotKey: ++g_seen.hotKeys; break;
            case plat::kMsgChar: ++g_seen.chars; break;
            case plat::kMsgFocusLost: ++g_seen.focusLost; break;
            default: break;
        }
    }
    return 0;
}

// Reaches for the queue without ever letting time move.
int Spinner() {
    plat::StartTimer(1, 10);
    for (plat::Message m{}; plat::GetMessage(m);) plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    return 0;
}

class MonkeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        g_seen = Seen{};
        g_view = nullptr;
        g_stopAfter = 0;
        g_sleepFirst = 0;
        dir_ = std::filesystem::path(::testing::TempDir()) /
               (std::string("reedshot_monkey_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        plat::testing::Reset();
    }

    int Run(std::vector<std::string> args, int (*entry)() = &StandIn) {
        args.insert(args.begin(), "reedshot");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        ::testing::internal::CaptureStdout();
        const int status = plat::RunProgram(static_cast<int>(argv.size()), argv.data(), entry);
        out_ = ::testing::internal::GetCapturedStdout();
        return status;
    }

    std::string Read(const char* name) {
        std::ifstream in(dir_ / name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::filesystem::path dir_;
    std::string out_;
};

TEST_F(MonkeyTest, ARunLastsItsHoursWithEveryKindOfInputAndEndsByItsQuit) {
    ASSERT_EQ(Run({"--headless", "--monkey", "5", "--hours", "0.05"}), 0) << out_;
    // 0.05 h is 180 s; an idle spell may carry the last gesture past it.
    EXPECT_GE(g_seen.lastTick, 180000u);
    EXPECT_LT(g_seen.lastTick, 250000u);
    EXPECT_NE(out_.find("monkey: 0.05"), std::string::npos) << out_;
    EXPECT_GT(g_seen.downs, 50);
    EXPECT_EQ(g_seen.downs, g_seen.ups);  // every touch lets go
    EXPECT_EQ(g_seen.keyDowns + g_seen.hotKeys, g_seen.keyUps);
    EXPECT_GT(g_seen.keyDowns, 0);
    EXPECT_GT(g_seen.hotKeys, 0);
    EXPECT_GT(g_seen.chars, 0);
    EXPECT_GT(g_seen.focusLost, 0);
    for (bool q : g_seen.quadrant) EXPECT_TRUE(q);
}

TEST_F(MonkeyTest, OnTheMenuTheQuitButtonIsLeftAloneElsewhereNot) {
    g_view = "\"from\":14,\"to\":0,\"push\":false";
    ASSERT_EQ(Run({"--headless", "--monkey", "9", "--hours", "0.1"}), 0) << out_;
    EXPECT_GT(g_seen.ups, 200);
    EXPECT_EQ(g_seen.upsOnQuitButton, 0);
    g_seen = Seen{};
    g_view = "\"from\":0,\"to\":7,\"push\":true";
    ASSERT_EQ(Run({"--headless", "--monkey", "9", "--hours", "0.1"}), 0) << out_;
    EXPECT_GT(g_seen.upsOnQuitButton, 0);
}

// The program sleeps first: no gesture starts meanwhile.
TEST_F(MonkeyTest, TheRecordingIsAScriptAndTheSameSeedRecordsTheSame) {
    g_sleepFirst = 5000;
    const std::string a = (dir_ / "a.txt").string(), b = (dir_ / "b.txt").string(), c = (dir_ / "c.txt").string();
    ASSERT_EQ(Run({"--headless", "--monkey", "3", "--hours", "0.02", "--record", a}), 0);
    const std::vector<plat::Message> first = g_seen.input;
    ASSERT_EQ(Run({"--headless", "--monkey", "3", "--hours", "0.02", "--record", b}), 0);
    ASSERT_EQ(Run({"--headless", "--monkey", "4", "--hours", "0.02", "--record", c}), 0);
    EXPECT_EQ(Read("a.txt"), Read("b.txt"));
    EXPECT_NE(Read("a.txt"), Read("c.txt"));
    plat::Script script;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(Read("a.txt"), script, error)) << error;
    ASSERT_FALSE(script.actions.empty());
    EXPECT_EQ(script.actions.back().kind, plat::ScriptAction::kQuit);
    EXPECT_GE(script.actions.front().tick, 5000u);
    // Only characters a script cannot spell are left out.
    size_t unspelled = 0;
    for (const plat::Message& m : first) unspelled += plat::FormatScriptLine(m, 0).empty() ? 1 : 0;
    EXPECT_EQ(script.actions.size(), first.size() - unspelled + 1);
}

TEST_F(MonkeyTest, AProgramThatEndsBeforeTheHoursFailsTheRun) {
    g_stopAfter = 500;
    EXPECT_EQ(Run({"--headless", "--monkey", "1", "--hours", "1"}), 1);
    EXPECT_NE(out_.find("ended by itself"), std::string::npos) << out_;
}

TEST_F(MonkeyTest, BadOptionsAreRefusedBeforeAnythingRuns) {
    const std::string script = (dir_ / "s.txt").string();
    std::ofstream(script) << "10 quit\n";
    const std::vector<std::vector<std::string>> bad = {
        {"--monkey", "1"},
        {"--headless", "--monkey", "x"},
        {"--headless", "--monkey", "-1"},
        {"--headless", "--monkey", "1", "--hours", "0"},
        {"--headless", "--monkey", "1", "--hours", "1001"},
        {"--headless", "--monkey", "1", "--hours", "1h"},
        {"--headless", "--monkey", "1", "--script", script},
        {"--headless", "--monkey", "1", "--record", (dir_ / "no" / "r.txt").string()},
    };
    for (const auto& args : bad) {
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(Run(args), 2) << args.back();
        EXPECT_FALSE(::testing::internal::GetCapturedStderr().empty());
    }
    EXPECT_TRUE(g_seen.input.empty());
}

TEST_F(MonkeyTest, TheWatchdogEndsARunWhoseClockHasStopped) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Run({"--headless", "--monkey", "1"}, &Spinner), ::testing::ExitedWithCode(3), "virtual time stopped");
}

}  // namespace
