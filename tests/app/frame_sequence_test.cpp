#include "app/frame_sequence.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Distinct addresses stand for pictures; the sequence never looks inside.
char g_storage[40];
gfx::Picture* P(int i) { return reinterpret_cast<gfx::Picture*>(&g_storage[i]); }
std::string N(gfx::Picture* p) { return std::to_string(reinterpret_cast<char*>(p) - g_storage); }
gfx::Picture* g_pictures[20] = {P(0),  P(1),  P(2),  P(3),  P(4),  P(5),  P(6),  P(7),  P(8),  P(9),
                                P(10), P(11), P(12), P(13), P(14), P(15), P(16), P(17), P(18), P(19)};

// The cycle's pictures by number, e.g. "0 0 1 2 2 1".
std::string Played(const FrameSequence& sequence, int slots) {
    std::string out;
    for (int i = 0; i < slots; ++i) out += (i ? " " : "") + N(sequence.At(i));
    return out;
}
// The pictures shown over `n` steps of Next.
std::string Shown(FrameSequence& sequence, int n) {
    std::string out;
    for (int i = 0; i < n; ++i, sequence.Next()) out += (i ? " " : "") + N(sequence.Current());
    return out;
}

TEST(FrameSequence, PeriodCountsFromStartAndFromEachChangeAlsoAcrossTheWrap) {
    FrameSequence sequence;
    sequence.Start(g_pictures, 3, 100, kAnimationLoop, 1000);
    EXPECT_FALSE(sequence.AdvanceIfDue(1099));
    EXPECT_TRUE(sequence.AdvanceIfDue(1105));  // late: the next period runs from here
    EXPECT_FALSE(sequence.AdvanceIfDue(1200));
    EXPECT_TRUE(sequence.AdvanceIfDue(1205));
    EXPECT_TRUE(sequence.AdvanceIfDue(1305));
    EXPECT_EQ(sequence.Current(), P(0));  // looped
    sequence.Start(g_pictures, 2, 100, kAnimationLoop, 0xFFFFFF00u);
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFF40u));
    // Going backwards is no change and starts over from that moment.
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFE00u));
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFE60u));
    EXPECT_TRUE(sequence.AdvanceIfDue(0xFFFFFE64u));
    sequence.Start(g_pictures, 2, 100, kAnimationLoop, 0xFFFFFFF0u);
    EXPECT_TRUE(sequence.AdvanceIfDue(0x54u));  // crossing zero forwards is an ordinary 100 ms
}

TEST(FrameSequence, OnceStopsOnTheLastFrameAndAnUnknownModeLoops) {
    FrameSequence sequence;
    sequence.Start(g_pictures, 4, 10, kAnimationOnce, 0);
    EXPECT_EQ(Shown(sequence, 6), "0 1 2 3 3 3");
    EXPECT_TRUE(sequence.AdvanceIfDue(50));  // still reported as a change
    sequence.Start(g_pictures, 2, 10, 7, 0);
    EXPECT_EQ(Shown(sequence, 3), "0 1 0");
    EXPECT_EQ(Played(sequence, sequence.Count()), "0 1");
}

TEST(FrameSequence, PingPongShowsEachEndTwiceAndALongOneIsCutToItsSlots) {
    FrameSequence sequence;
    sequence.Start(g_pictures, 3, 10, kAnimationPingPong, 0);
    // The slot behind the cycle holds the first picture once more.
    EXPECT_EQ(Played(sequence, sequence.Count() + 1), "0 0 1 2 2 1 0");
    EXPECT_EQ(Shown(sequence, 7), "0 0 1 2 2 1 0");
    sequence.Start(g_pictures, 20, 10, kAnimationPingPong, 0);
    const int half = FrameSequence::kMaxPingPongPictures;
    EXPECT_EQ(sequence.Count(), 2 * half);
    EXPECT_EQ(sequence.At(half), P(half - 1));
    EXPECT_EQ(sequence.At(2 * half), P(0));
}

TEST(FrameSequence, PreviousAndSetWrapBothWaysAndRestartTakesThePicturesAsTheyAre) {
    FrameSequence sequence;
    sequence.Start(g_pictures, 8, 10, kAnimationLoop, 0);
    sequence.Previous();
    EXPECT_EQ(sequence.Index(), 7);
    sequence.Set(11);
    EXPECT_EQ(sequence.Index(), 3);
    sequence.Set(-1);
    EXPECT_EQ(sequence.Current(), P(7));
    sequence.Restart(g_pictures + 9, 2);
    EXPECT_EQ(Shown(sequence, 3), "9 10 9");
    sequence.Start(nullptr, 0, 10, kAnimationLoop, 0);  // an empty sequence stays put
    sequence.Next();
    sequence.Previous();
    sequence.Set(3);
    EXPECT_EQ(sequence.Index(), 0);
    EXPECT_EQ(sequence.Current(), nullptr);
}

}  // namespace
