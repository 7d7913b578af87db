// A whole hunt through the real program (--hunt): it shoots, scrolls, reloads, runs out; the result is stored.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/game_run.h"

namespace {

namespace fs = std::filesystem;

// Points are as the player sees the screen in landscape.
const char* kHunt =
    "400 shot start\n"
    "1000 tap 160 100\n+250 tap 100 150\n+250 tap 200 60\n+250 tap 250 120\n+250 tap 60 60\n+250 tap 120 200\n+250 tap 180 180\n"
    "+300 shot empty\n"
    "+100 tap 150 100\n"  // the empty gun only clicks
    "+300 tap 250 225\n"  // the shell strip reloads
    "+300 keydown right\n"
    "+600 keyup right\n"
    "+200 tap 40 100\n"
    "+200 tap 90 120\n"
    "+200 button 3\n"  // a loaded gun is not reloaded by the button
    "30000 shot mid\n"
    "+100 tap 160 100\n"
    "+300 tap 230 40\n"
    "182200 shot farewell\n"
    "190000 shot results\n"
    "+500 quit\n";

int32_t Field(const std::string& line, const std::string& name) {
    const size_t at = line.find("\"" + name + "\":");
    return at == std::string::npos ? -1 : std::stoi(line.substr(at + name.size() + 3));
}

using HuntRun = e2e::RunTest;

TEST_F(HuntRun, AScriptedHuntRunsOutAndItsResultIsStoredTheSameEveryTimeHoweverBusyTheMachine) {
    const fs::path a = root_ / "a";
    ASSERT_EQ(e2e::RunGame(a, kHunt, "--hunt"), 0) << e2e::ReadFile(a / "stderr.txt");

    const std::vector<std::string> switches = e2e::Switches(a);
    ASSERT_GE(switches.size(), 3u);
    EXPECT_EQ(switches[1] + " " + switches[2], "0>1+ 1>7");
    const std::vector<std::string> sounds = e2e::Sounds(a);
    const auto count = [&](const char* sound) { return std::count(sounds.begin(), sounds.end(), sound); };
    const auto over = std::find(sounds.begin(), sounds.end(), "578");
    ASSERT_LT(over + 2, sounds.end());
    EXPECT_EQ(std::vector<std::string>(sounds.begin(), sounds.begin() + 2), (std::vector<std::string>{"stop", "537 music loop"}));
    EXPECT_EQ(std::vector<std::string>(over, over + 3), (std::vector<std::string>{"578", "stop", "535 music loop"}));
    // The farewell, one reload and the one empty magazine; some hit.
    EXPECT_EQ((std::vector<long>{count("579"), count("543"), count("551")}), (std::vector<long>{1, 1, 1}));
    EXPECT_GE(count("546"), 1);

    const std::vector<std::string> ends = e2e::TraceEvents(a, "hunt_end");
    ASSERT_EQ(ends.size(), 1u);
    const std::string& end = ends[0];
    EXPECT_EQ(std::pair(Field(end, "shots"), count("550")), std::pair(11, 11L));
    for (const auto& [stored, field] : {std::pair{"LastScores", "score"}, {"KilledDucks", "ducks"}, {"KilledLeafs", "leaves"},
                                        {"NegPoints", "penalty"}, {"PersentageSuccess", "accuracy"}}) {
        EXPECT_EQ(e2e::Stored(a, stored), std::to_string(Field(end, field))) << stored;
    }
    EXPECT_GE(Field(end, "accuracy"), 0);

    // Byte for byte again with the machine kept busy beside it.
    std::atomic<bool> spin{true};
    std::thread busy([&] { while (spin.load(std::memory_order_relaxed)) {} });
    const fs::path b = root_ / "b";
    const int busyStatus = e2e::RunGame(b, kHunt, "--hunt");
    spin = false;
    busy.join();
    ASSERT_EQ(busyStatus, 0) << e2e::ReadFile(b / "stderr.txt");
    EXPECT_TRUE(!e2e::TraceEvents(a, "audio_write").empty() && e2e::RunTrace(a) == e2e::RunTrace(b));
    for (const char* shot : {"start.png", "empty.png", "mid.png", "farewell.png", "results.png"}) {
        EXPECT_TRUE(e2e::ReadFile(a / shot).size() > 1000u && e2e::ReadFile(a / shot) == e2e::ReadFile(b / shot)) << shot;
    }
    EXPECT_TRUE(e2e::ReadFile(a / "audio.wav") == e2e::ReadFile(b / "audio.wav") && e2e::ReadFile(a / "start.png") != e2e::ReadFile(a / "mid.png"));
    // The ambience was heard: the capture is not all silence.
    const std::string audio = e2e::ReadFile(a / "audio.wav");
    ASSERT_GT(audio.size(), 44u + 22050u * 2);
    EXPECT_NE(audio.find_first_not_of('\x80', 44), std::string::npos);
}

// A timedemo sums up its run; a bad script stops before the game starts.
TEST_F(HuntRun, ATimedemoSumsUpItsRunAndABadScriptStopsItBeforeTheStart) {
    const fs::path dir = root_ / "timedemo";
    const std::string command = e2e::GameCommand(dir, "200 tap 100 100\n1000 quit\n", "--hunt --timedemo") + " >" + (dir / "out.txt").string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string out = e2e::ReadFile(dir / "out.txt");
    // 102 events: a heartbeat every 10 ms and the two pen messages.
    for (const char* line : {"timedemo: 1.0 s of game", "timedemo: 102 events", "allocations per event after start-up"})
        EXPECT_NE(out.find(line), std::string::npos) << out;
    const fs::path bad = root_ / "bad";
    EXPECT_EQ(e2e::RunGame(bad, "100 tap 1\n"), 2);
    EXPECT_NE(e2e::ReadFile(bad / "stderr.txt").find("line 1"), std::string::npos);
    EXPECT_FALSE(fs::exists(bad / "trace.jsonl") && fs::file_size(bad / "trace.jsonl") > 0);
}

}  // namespace
