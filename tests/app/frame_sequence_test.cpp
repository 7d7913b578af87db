#include "app/frame_sequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Distinct addresses stand for pictures; the sequence never looks inside.
class FrameSequenceTest : public ::testing::Test {
protected:
    gfx::Picture* P(int i) { return reinterpret_cast<gfx::Picture*>(&storage[i]); }
    std::vector<gfx::Picture*> Pictures(int n) {
        std::vector<gfx::Picture*> out;
        for (int i = 0; i < n; ++i) out.push_back(P(i));
        return out;
    }
    std::vector<gfx::Picture*> Played(const FrameSequence& sequence) {
        std::vector<gfx::Picture*> out;
        for (int i = 0; i < sequence.Count(); ++i) out.push_back(sequence.At(i));
        return out;
    }

    char storage[40] = {};
};

TEST_F(FrameSequenceTest, PeriodCountsFromStartAndFromEachChange) {
    const auto pictures = Pictures(3);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 3, 100, kAnimationLoop, 1000);
    EXPECT_FALSE(sequence.AdvanceIfDue(1099));
    EXPECT_TRUE(sequence.AdvanceIfDue(1105));  // late: the next period runs from here
    EXPECT_EQ(sequence.Index(), 1);
    EXPECT_FALSE(sequence.AdvanceIfDue(1200));
    EXPECT_TRUE(sequence.AdvanceIfDue(1205));
    EXPECT_TRUE(sequence.AdvanceIfDue(1305));
    EXPECT_EQ(sequence.Index(), 0);  // looped
    EXPECT_EQ(sequence.Current(), P(0));
}

TEST_F(FrameSequenceTest, WrappedTickRestartsThePeriod) {
    const auto pictures = Pictures(2);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 2, 100, kAnimationLoop, 0xFFFFFF00u);
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFF40u));
    // Going backwards is no change and starts over from that moment.
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFE00u));
    EXPECT_FALSE(sequence.AdvanceIfDue(0xFFFFFE60u));
    EXPECT_TRUE(sequence.AdvanceIfDue(0xFFFFFE64u));
    // Crossing zero forwards is an ordinary 100 ms.
    sequence.Start(pictures.data(), 2, 100, kAnimationLoop, 0xFFFFFFF0u);
    EXPECT_TRUE(sequence.AdvanceIfDue(0x54u));
}

TEST_F(FrameSequenceTest, OnceStopsOnTheLastFrameAndAnUnknownModeLoops) {
    const auto pictures = Pictures(4);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 4, 10, kAnimationOnce, 0);
    for (int i = 0; i < 4; ++i) sequence.Next();
    EXPECT_TRUE(sequence.AdvanceIfDue(50));  // still reported as a change
    EXPECT_EQ(sequence.Current(), P(3));
    sequence.Start(pictures.data(), 2, 10, 7, 0);
    sequence.Next();
    sequence.Next();
    EXPECT_EQ(sequence.Index(), 0);
    EXPECT_EQ(Played(sequence), (std::vector{P(0), P(1)}));
}

TEST_F(FrameSequenceTest, PingPongShowsEachEndTwice) {
    const auto pictures = Pictures(3);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 3, 10, kAnimationPingPong, 0);
    EXPECT_EQ(Played(sequence), (std::vector{P(0), P(0), P(1), P(2), P(2), P(1)}));
    // The slot behind the cycle holds the first picture once more.
    EXPECT_EQ(sequence.At(6), P(0));
    std::vector<gfx::Picture*> shown;
    for (int i = 0; i < 7; ++i) {
        shown.push_back(sequence.Current());
        sequence.Next();
    }
    EXPECT_EQ(shown, (std::vector{P(0), P(0), P(1), P(2), P(2), P(1), P(0)}));
}

TEST_F(FrameSequenceTest, LongPingPongIsCutToItsSlots) {
    const auto pictures = Pictures(20);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 20, 10, kAnimationPingPong, 0);
    EXPECT_EQ(sequence.Count(), 2 * FrameSequence::kMaxPingPongPictures);
    EXPECT_EQ(sequence.At(FrameSequence::kMaxPingPongPictures), P(FrameSequence::kMaxPingPongPictures - 1));
    EXPECT_EQ(sequence.At(2 * FrameSequence::kMaxPingPongPictures), P(0));
}

TEST_F(FrameSequenceTest, PreviousAndSetWrapBothWaysAndRestartTakesThePicturesAsTheyAre) {
    const auto pictures = Pictures(8);
    FrameSequence sequence;
    sequence.Start(pictures.data(), 8, 10, kAnimationLoop, 0);
    sequence.Previous();
    EXPECT_EQ(sequence.Index(), 7);
    sequence.Set(11);
    EXPECT_EQ(sequence.Index(), 3);
    sequence.Set(-1);
    EXPECT_EQ(sequence.Current(), P(7));
    const std::vector<gfx::Picture*> second{P(9), P(8)};
    sequence.Restart(second.data(), 2);
    EXPECT_EQ(sequence.Index(), 0);
    EXPECT_EQ(Played(sequence), second);
    // An empty sequence stays put.
    sequence.Start(nullptr, 0, 10, kAnimationLoop, 0);
    sequence.Next();
    sequence.Previous();
    sequence.Set(3);
    EXPECT_EQ(sequence.Index(), 0);
    EXPECT_EQ(sequence.Current(), nullptr);
}

}  // namespace
