// A whole hunt through the real program, started with --hunt: it shoots,
// scrolls, reloads and runs out of time, and the result reaches the store.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "game_run.h"
#include "platform/platform.h"
#include "platform/store/store_testing.h"

namespace {

namespace fs = std::filesystem;

// Points are as the player sees the screen in landscape.
const char* kHunt =
    "400 shot start\n"
    "1000 tap 160 100\n"
    "+250 tap 100 150\n"
    "+250 tap 200 60\n"
    "+250 tap 250 120\n"
    "+250 tap 60 60\n"
    "+250 tap 120 200\n"
    "+250 tap 180 180\n"
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

int32_t StoredNumber(const fs::path& dir, const char* name) {
    plat::testing::CloseStore();
    setenv("REEDSHOT_DATA_DIR", (dir / "data").c_str(), 1);
    int32_t value = -1;
    plat::KeyHandle key = plat::kNoKey;
    bool created = false;
    if (plat::OpenOrCreateKey("Corvane\\Reedshot", key, created)) {
        plat::ReadNumber(key, name, value);
        plat::CloseKey(key);
    }
    plat::testing::CloseStore();
    return value;
}

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
    EXPECT_EQ(switches[1], "0>1+");
    EXPECT_EQ(switches[2], "1>7");

    const std::vector<std::string> sounds = e2e::Sounds(a);
    ASSERT_GE(sounds.size(), 4u);
    EXPECT_EQ(sounds[0], "stop");
    EXPECT_EQ(sounds[1], "537 music loop");
    const auto over = std::find(sounds.begin(), sounds.end(), "578");
    ASSERT_NE(over, sounds.end());
    EXPECT_EQ(*(over + 1), "stop");
    EXPECT_EQ(*(over + 2), "535 music loop");
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "579"), 1);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "551"), 1);  // the one empty magazine
    EXPECT_GE(std::count(sounds.begin(), sounds.end(), "546"), 1);
    EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "543"), 1);

    const std::vector<std::string> ends = e2e::TraceEvents(a, "hunt_end");
    ASSERT_EQ(ends.size(), 1u);
    const std::string& end = ends[0];
    EXPECT_EQ(Field(end, "shots"), std::count(sounds.begin(), sounds.end(), "550"));
    EXPECT_EQ(Field(end, "shots"), 11);
    EXPECT_EQ(StoredNumber(a, "LastScores"), Field(end, "score"));
    EXPECT_EQ(StoredNumber(a, "KilledDucks"), Field(end, "ducks"));
    EXPECT_EQ(StoredNumber(a, "KilledLeafs"), Field(end, "leaves"));
    EXPECT_EQ(StoredNumber(a, "NegPoints"), Field(end, "penalty"));
    EXPECT_EQ(StoredNumber(a, "PersentageSuccess"), Field(end, "accuracy"));
    EXPECT_GE(Field(end, "accuracy"), 0);
    EXPECT_LE(Field(end, "accuracy"), 100);

    // Byte for byte again, once with the machine kept busy beside it.
    std::atomic<bool> spin{true};
    std::thread busy([&] {
        while (spin.load(std::memory_order_relaxed)) {
        }
    });
    const fs::path b = root_ / "b";
    const int busyStatus = e2e::RunGame(b, kHunt, "--hunt");
    spin = false;
    busy.join();
    ASSERT_EQ(busyStatus, 0) << e2e::ReadFile(b / "stderr.txt");
    const fs::path c = root_ / "c";
    ASSERT_EQ(e2e::RunGame(c, kHunt, "--hunt"), 0) << e2e::ReadFile(c / "stderr.txt");
    EXPECT_FALSE(e2e::TraceEvents(a, "audio_write").empty());
    for (const fs::path& again : {b, c}) {
        EXPECT_EQ(e2e::RunTrace(a), e2e::RunTrace(again)) << again;
        for (const char* shot : {"start.png", "empty.png", "mid.png", "farewell.png", "results.png"}) {
            const std::string picture = e2e::ReadFile(a / shot);
            EXPECT_GT(picture.size(), 1000u) << shot;
            EXPECT_EQ(picture, e2e::ReadFile(again / shot)) << shot;
        }
        EXPECT_EQ(e2e::ReadFile(a / "audio.wav"), e2e::ReadFile(again / "audio.wav")) << again;
    }
    EXPECT_NE(e2e::ReadFile(a / "start.png"), e2e::ReadFile(a / "mid.png"));
    // The ambience was heard: the capture is not all silence.
    const std::string audio = e2e::ReadFile(a / "audio.wav");
    ASSERT_GT(audio.size(), 44u + 22050u * 2);
    EXPECT_NE(audio.find_first_not_of('\x80', 44), std::string::npos);
}

}  // namespace
