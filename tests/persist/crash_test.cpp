// A process saving over and over is killed at random: the next start finds a whole table, old or new.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "persist/high_score_table.h"
#include "tests/persist/store_fixture.h"

namespace {

// The generation g the table shows (entry i scores g * 100 + i, named "G<g>"), or -1 when entries disagree.
int32_t GenerationOf(const HighScoreTable& table) {
    const int32_t generation = table.GetEntry(0).score / 100;
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        if (table.GetEntry(i).score != generation * 100 + i || "G" + std::to_string(generation) != table.GetEntry(i).name) return -1;
    }
    return generation;
}

void SaveGeneration(int32_t generation) {
    HighScoreTable table;
    table.CreateIfMissing();
    table.Clear();
    const std::string name = "G" + std::to_string(generation);
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        HighScoreEntry entry{false, generation * 100 + i, 0, 0, ""};
        std::snprintf(entry.name, sizeof entry.name, "%s", name.c_str());
        table.Insert(entry);
    }
    table.Save();
    plat::KeyHandle key = plat::kNoKey;
    bool created = false;
    if (!plat::OpenOrCreateKey(kPath, key, created) || !plat::WriteNumber(key, "LastScores", generation)) _exit(3);
    plat::CloseKey(key);
}

using CrashTest = StoreTest;

TEST_F(CrashTest, AKilledSaveLeavesTheOldTableOrTheNew) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pause(0, 15000);  // microseconds

    SaveGeneration(1);
    int32_t seen = 1;
    int32_t seenLast = 1;
    int moved = 0;
    for (int round = 0; round < 40; ++round) {
        Restart();  // no connection may cross the fork
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {  // saves generation after generation until killed
            close(ready[0]);
            for (int32_t generation = seen + 1;; ++generation) {
                plat::testing::Reset();  // the traces would pile up
                SaveGeneration(generation);
                if (generation == seen + 1 && write(ready[1], "1", 1) != 1) _exit(2);
            }
        }
        close(ready[1]);
        // Half the kills come before the first save is through, half after.
        if (round % 2 == 1) {
            char byte = 0;
            ASSERT_EQ(read(ready[0], &byte, 1), 1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        close(ready[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving process ended on its own";

        plat::testing::Reset();
        HighScoreTable table;
        table.Load();
        const int32_t generation = GenerationOf(table);
        ASSERT_GE(generation, seen) << "round " << round;
        const int32_t last = std::stoi(Read(OpenKey(), "LastScores"));
        // The number follows its table: one behind, or unchanged if killed between the first table and its number.
        const bool valid = last == generation || (last == generation - 1 && generation > seen + 1) ||
                           (last == seenLast && generation <= seen + 1);
        EXPECT_TRUE(valid) << last << " after " << seenLast << ", table " << generation << " after " << seen;
        EXPECT_TRUE(plat::testing::MessageBoxes().empty());
        moved += generation > seen ? 1 : 0;
        seen = generation;
        seenLast = last;
    }
    EXPECT_TRUE(KeptFiles().empty());
    // The children did get saves through, so the kills hit a store in use.
    EXPECT_GT(moved, 5);
}

}  // namespace
