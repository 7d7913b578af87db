// The game's random numbers, the flight paths and a target moving along one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <vector>

#include "game/game_random.h"
#include "game/line_path.h"
#include "game/slide_path.h"
#include "game/target.h"
#include "game/zigzag_path.h"
#include "graphics/scene.h"
#include "platform/testing.h"

namespace {

constexpr int kCycle = 2058;

TEST(GameRandom, EveryRuntimeSeedLaunchesDucksAndStaysOffTheShortCycles) {
    for (int32_t value = 0; value <= plat::kRandMax; ++value) {
        GameRandom random;
        random.seedWith(value);
        ASSERT_TRUE(random.state() > 0 && random.state() < GameRandom::kModulus && random.state() % 7 != 0) << value;
        bool drewSeven = false;
        for (int i = 0; i < kCycle && !drewSeven; ++i) drewSeven = random.below(30) == 7;
        ASSERT_TRUE(drewSeven) << "seed " << value;
    }
    GameRandom random;
    random.seedWith(12345);
    const int32_t start = random.state();
    std::set<int32_t> thirty, states;
    for (int i = 0; i < kCycle; ++i) {
        thirty.insert(random.below(30));
        states.insert(random.state());
    }
    EXPECT_TRUE(thirty.size() == 30u && *thirty.begin() == 0 && *thirty.rbegin() == 29);
    EXPECT_TRUE(states.size() == static_cast<size_t>(kCycle) && random.state() == start);
}

// Drives a path as a Target does: ask whether it is finished, else move.
std::vector<gfx::Point> Walk(FlightPath& path, int limit) {
    std::vector<gfx::Point> points;
    while (!path.isFinished() && static_cast<int>(points.size()) < limit) points.push_back(path.next());
    return points;
}

// Many speeds step over the 11-pixel finish window.
TEST(LinePath, EveryPathFinishesAtOrJustPastItsGoal) {
    for (int32_t speed = 1; speed <= 15; ++speed) {
        for (int32_t gx = -300; gx <= 540; gx += 37) {
            for (int32_t gy = -160; gy <= 1120; gy += 53) {
                LinePath path(120, 500, gx, gy, speed);
                const int32_t major = std::max(std::abs(gx - 120), std::abs(gy - 500));
                const auto points = Walk(path, major + 2);
                ASSERT_TRUE(path.isFinished()) << speed << " to " << gx << "," << gy;
                ASSERT_LE(static_cast<int32_t>(points.size()), major / speed + 1);
                if (points.empty()) continue;
                EXPECT_LE(std::max(std::abs(points.back().x - gx), std::abs(points.back().y - gy)), speed + 5);
            }
        }
    }
    EXPECT_TRUE(LinePath(50, 60, 50, 60, 5).isFinished());
    LinePath stopped(0, 0, 100, 0, 0);
    EXPECT_TRUE(Walk(stopped, 10).size() == 10 && stopped.next().x == 0);
    // Finished once within 5 pixels on both axes, and for good.
    LinePath slow(0, 0, 20, 0, 1);
    EXPECT_EQ(Walk(slow, 100).size(), 15u);
    slow.next();
    EXPECT_TRUE(slow.isFinished());
}

// Not from where the duck stopped short; sides alternate, the first to smaller x.
TEST(ZigzagAndSlidePaths, EachLegStartsAtThePreviousLegsEndPointAndASlidePausesForHoldPlusOneUpdates) {
    plat::testing::Reset();
    for (uint32_t tick = 1; tick < 20; ++tick) {
        plat::testing::SetTick(tick * 131);
        for (const int32_t speed : {3, 7, 15}) {
            ZigzagPath path(120, 1000, 120, -160, speed);
            GameRandom draws;
            draws.seed();
            const int32_t firstDy = -(30 + draws.below(1000) % 70);
            int32_t dx = -(5 + draws.below(1000) % 45);
            gfx::Point end{120 + dx, 1000 + firstDy};
            LinePath leg(120, 1000, end.x, end.y, speed);
            for (int step = 0; !path.isFinished() && step < 2000; ++step) {
                if (leg.isFinished()) {
                    const int32_t dy = -(60 + draws.below(1000) % 140);
                    const int32_t swing = 5 + draws.below(1000) % 45;
                    dx = dx < 0 ? swing : -swing;
                    const gfx::Point start = end;
                    end = {120 + dx, start.y + dy};
                    leg = LinePath(start.x, start.y, end.x, end.y, speed);
                }
                const gfx::Point want = leg.next();
                const gfx::Point got = path.next();
                ASSERT_TRUE(got.x == want.x && got.y == want.y) << tick << " " << speed << " step " << step;
            }
            EXPECT_TRUE(path.isFinished() && end.y < -100);
        }
    }
    ZigzagPath inside(120, 900, 120, 500, 4);
    EXPECT_EQ(Walk(inside, 400).size(), 400u);
    // A slide: out 240 -> 130 in eleven moves, one update noticing the stop, ten held, eleven back.
    SlidePath path(240, 300, 132, 300, -10, 0, 10);
    std::vector<int32_t> xs, expected;
    for (const gfx::Point& p : Walk(path, 100)) xs.push_back(p.x);
    ASSERT_TRUE(path.isFinished());
    for (int32_t v = 230; v >= 130; v -= 10) expected.push_back(v);
    expected.insert(expected.end(), 11, 130);
    for (int32_t v = 140; v <= 240; v += 10) expected.push_back(v);
    EXPECT_EQ(xs, expected);
}

// The tick's wrap does not stop a move; never finished without a path.
TEST(Target, HitTestTellsTheBirdFromItsBoxAndTheOutsideAndMovesAfterItsIntervalUntilItsPathEnds) {
    plat::testing::Reset();
    plat::testing::SetTick(1000);
    FrameSet bigDown;
    bigDown.LoadFrames(163, 170, 68, 68);
    gfx::Scene scene(1, 3, 240, 320);
    Target t;
    ASSERT_TRUE(t.init(100, 700, bigDown, 80, 1, 90));
    const gfx::Surface& s = *t.sprite().image->surface;
    EXPECT_EQ(t.sprite().key, s.At(0, 0));
    const int32_t top = 700 - 639;
    const struct { int32_t x, y, scroll; HitTestResult want; } cases[] = {
        {100, top, 639, kHitTransparent}, {168, top, 639, kHitOutside}, {100, top + 68, 639, kHitOutside},
        {99, top, 639, kHitOutside}, {167, top + 67, 0, kHitOutside}};  // not scrolled: the box is far below
    for (const auto& c : cases) EXPECT_EQ(t.hitTest(c.x, c.y, 0, c.scroll), c.want) << c.x << "," << c.y;
    for (int32_t row = 0; row < 68; ++row)
        for (int32_t col = 0; col < 68; ++col)
            ASSERT_EQ(t.hitTest(100 + col, top + row, 0, 639), s.At(col, row) == t.sprite().key ? kHitTransparent : kHitOpaque);
    const auto updateAt = [&](uint32_t tick) {
        plat::testing::SetTick(tick);
        t.update(scene);
    };
    plat::testing::SetTick(0xFFFFFF00u);
    ASSERT_TRUE(t.init(0, 0, bigDown, 80, 1, 90));
    t.setPath(kPathLine, {0, 0, 0, 900, 2, 0, 0, 0});
    scene.AddSpriteAnimated(t.sprite(), 130);
    for (const auto& [after, y] : {std::pair{90u, 0}, {91u, 2}, {91u, 2}, {182u, 4}}) {  // 182: wrapped to 26
        updateAt(0xFFFFFF00u + after);
        EXPECT_EQ(t.sprite().y, y) << after;
    }
    scene.RemoveSpriteAnimated(t.sprite());
    ASSERT_TRUE(t.init(10, 10, bigDown, 80, 1, 0));
    t.setPath(kPathLine, {10, 10, 10, 40, 15, 0, 0, 0});
    uint32_t tick = 1000;
    int moves = 0;
    for (; !t.finished() && moves < 10; ++moves) updateAt(++tick);
    EXPECT_TRUE(t.sprite().y == 40 && moves == 3);  // two moves of 15, then the update that notices
    ASSERT_TRUE(t.init(10, 10, bigDown, 80, 1, 0));  // the ended path goes with the old flight
    updateAt(++tick);
    EXPECT_FALSE(t.finished());
    for (const int32_t variant : {0, 2, 3, 6, 7, -1}) {  // no such path
        ASSERT_TRUE(t.init(10, 10, bigDown, 80, 1, 0));
        t.setPath(variant, {10, 10, 10, 40, 15, 0, 0, 0});
        for (int i = 0; i < 5; ++i) updateAt(++tick);
        EXPECT_TRUE(!t.finished() && t.sprite().y == 10);
    }
    t.release();
}

}  // namespace
