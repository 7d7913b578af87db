#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "game/line_path.h"
#include "game/slide_path.h"
#include "game/target.h"
#include "game/zigzag_path.h"
#include "platform/testing.h"

namespace {

// Drives a path as a Target does: ask whether it is finished, else move.
std::vector<gfx::Point> Walk(FlightPath& path, int limit) {
    std::vector<gfx::Point> points;
    while (!path.isFinished() && static_cast<int>(points.size()) < limit) points.push_back(path.next());
    return points;
}

TEST(LinePath, EveryFastPathFinishesAtOrJustPastItsGoal) {
    // Speeds up to 15 (scared ducks, formations, red birds) against goals in
    // every direction; many of these step over the 11-pixel window.
    const gfx::Point start{120, 500};
    for (int32_t speed = 1; speed <= 15; ++speed) {
        for (int32_t gx = -300; gx <= 540; gx += 37) {
            for (int32_t gy = -160; gy <= 1120; gy += 53) {
                LinePath path(start.x, start.y, gx, gy, speed);
                const int32_t major = std::max(std::abs(gx - start.x), std::abs(gy - start.y));
                const auto points = Walk(path, major + 2);
                ASSERT_TRUE(path.isFinished()) << speed << " to " << gx << "," << gy;
                ASSERT_LE(static_cast<int32_t>(points.size()), major / speed + 1);
                if (points.empty()) continue;
                const gfx::Point end = points.back();
                // Never more than one move beyond the goal along either axis.
                EXPECT_LE(std::abs(end.x - gx), speed + 5);
                EXPECT_LE(std::abs(end.y - gy), speed + 5);
            }
        }
    }
}

TEST(LinePath, DegenerateCases) {
    LinePath still(50, 60, 50, 60, 5);
    EXPECT_TRUE(still.isFinished());

    LinePath stopped(0, 0, 100, 0, 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(stopped.next().x, 0);
    EXPECT_FALSE(stopped.isFinished());

    // Finished once within 5 pixels on both axes, and for good.
    LinePath slow(0, 0, 20, 0, 1);
    for (int i = 0; i < 14; ++i) slow.next();
    EXPECT_FALSE(slow.isFinished());
    slow.next();
    EXPECT_TRUE(slow.isFinished());
    slow.next();
    EXPECT_TRUE(slow.isFinished());
}

// Each leg runs from the previous leg's end point, not from where the duck
// stopped short of it, swinging to alternate sides of the course, the first
// to smaller x. The path ends outside the world, never near a goal inside it.
TEST(ZigzagPath, EachLegStartsAtThePreviousLegsEndPointUntilOutsideTheWorld) {
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
            int step = 0;
            for (; !path.isFinished() && step < 2000; ++step) {
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
            EXPECT_TRUE(path.isFinished());
            EXPECT_LT(end.y, -100);
        }
    }
    ZigzagPath inside(120, 900, 120, 500, 4);
    for (int i = 0; i < 400; ++i) {
        ASSERT_FALSE(inside.isFinished());
        inside.next();
    }
}

TEST(SlidePath, SlidesOutPausesForHoldPlusOneUpdatesAndComesBack) {
    SlidePath path(240, 300, 132, 300, -10, 0, 10);
    std::vector<int32_t> xs;  // the position after each update, moved or not
    int32_t x = 240;
    for (int i = 0; i < 100 && !path.isFinished(); ++i) {
        x = path.next().x;
        xs.push_back(x);
    }
    ASSERT_TRUE(path.isFinished());
    // Out 240 -> 130 in eleven moves; an update that only notices the stop
    // point and ten held ones (hold 10 down to 1); the one that finds the
    // counter at 0 turns back, so home to 240 takes eleven moves.
    std::vector<int32_t> expected;
    for (int32_t v = 230; v >= 130; v -= 10) expected.push_back(v);
    expected.insert(expected.end(), 11, 130);
    for (int32_t v = 140; v <= 240; v += 10) expected.push_back(v);
    EXPECT_EQ(xs, expected);
}

TEST(FlightPathFactory, BuildsTheNumberedVariantsAndNothingForOthers) {
    FlightPathStorage storage;
    const PathParams line{0, 0, 100, 0, 4, 0, 0, 0};
    FlightPath* path = CreateFlightPath(storage, kPathLine, line);
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->next().x, 4);
    path = CreateFlightPath(storage, kPathSlide, {240, 10, 132, 10, -10, 0, 10, 0});
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->next().x, 230);
    path = CreateFlightPath(storage, kPathZigzag, {100, 100, 100, 1120, 3, 0, 0, 0});
    ASSERT_NE(path, nullptr);
    const gfx::Point first = path->next();
    EXPECT_LE(first.x, 100);  // the first swing goes to smaller x
    EXPECT_GE(first.y, 100);
    EXPECT_TRUE(first.x != 100 || first.y != 100);
    for (const int32_t variant : {0, 2, 3, 6, -1}) EXPECT_EQ(CreateFlightPath(storage, variant, line), nullptr);
}

}  // namespace
