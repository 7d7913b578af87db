#include "game/game_random.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/platform.h"
#include "platform/testing.h"

namespace {

// 3^7 generates a subgroup of 2058 elements of the units mod 7^5: any
// state on the long cycle comes back to itself within that many draws.
constexpr int kCycle = 2058;

TEST(GameRandom, EveryRuntimeSeedLaunchesDucksAndStaysOffTheShortCycles) {
    for (int32_t value = 0; value <= plat::kRandMax; ++value) {
        GameRandom random;
        random.seedWith(value);
        ASSERT_GT(random.state(), 0) << value;
        ASSERT_LT(random.state(), GameRandom::kModulus) << value;
        ASSERT_NE(random.state() % 7, 0) << value;
        bool drewSeven = false;
        for (int i = 0; i < kCycle && !drewSeven; ++i) drewSeven = random.below(30) == 7;
        ASSERT_TRUE(drewSeven) << "seed " << value;
    }
}

TEST(GameRandom, DrawsCoverTheirRangeAndNothingOutsideIt) {
    GameRandom random;
    random.seedWith(12345);
    const int32_t start = random.state();
    std::set<int32_t> thirty;
    std::set<int32_t> states;
    for (int i = 0; i < kCycle; ++i) {
        const int32_t v = random.below(30);
        ASSERT_GE(v, 0);
        ASSERT_LT(v, 30);
        thirty.insert(v);
        states.insert(random.state());
    }
    EXPECT_EQ(thirty.size(), 30u);
    EXPECT_EQ(states.size(), static_cast<size_t>(kCycle));
    EXPECT_EQ(random.state(), start);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(random.below(1), 0);
}

TEST(GameRandom, SeedsFromTheClockSoTheSameMillisecondGivesTheSameSequence) {
    plat::testing::Reset();
    plat::testing::SetTick(4321);
    GameRandom a;
    GameRandom b;
    a.seed();
    b.seed();
    plat::testing::SetTick(4322);
    GameRandom c;
    c.seed();
    bool cDiffers = false;
    for (int i = 0; i < 20; ++i) {
        const int32_t va = a.next();
        EXPECT_EQ(va, b.next());
        cDiffers = cDiffers || c.next() != va;
    }
    EXPECT_TRUE(cDiffers);
    EXPECT_NE(a.state() % 7, 0);
}

}  // namespace
