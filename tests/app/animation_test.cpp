// Frame sequences, frame sets and the animation list that steps them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/frame_sequence.h"
#include "app/frame_set.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "graphics/scene.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"

namespace {

// Distinct addresses stand for pictures; the sequence never looks inside.
char g_storage[40];
gfx::Picture* P(int i) { return reinterpret_cast<gfx::Picture*>(&g_storage[i]); }
std::string N(gfx::Picture* p) { return std::to_string(reinterpret_cast<char*>(p) - g_storage); }
gfx::Picture* g_pictures[20] = {P(0),  P(1),  P(2),  P(3),  P(4),  P(5),  P(6),  P(7),  P(8),  P(9),
                                P(10), P(11), P(12), P(13), P(14), P(15), P(16), P(17), P(18), P(19)};

// The cycle's first `slots` pictures by number ("0 0 1 2 2 1"), or with `steps` those shown over that many Nexts.
std::string Played(FrameSequence& sequence, int slots, bool steps = false) {
    std::string out;
    for (int i = 0; i < slots; ++i, steps ? sequence.Next() : void()) out += (i ? " " : "") + N(steps ? sequence.Current() : sequence.At(i));
    return out;
}

TEST(FrameSequence, PeriodCountsFromStartAndFromEachChangeAcrossTheWrapAndModesWrapsAndRestartsWork) {
    FrameSequence sequence;
    // Which of these ticks change the picture, as "0101".
    const auto dues = [&](std::initializer_list<uint32_t> ticks) { std::string out; for (uint32_t t : ticks) out += sequence.AdvanceIfDue(t) ? '1' : '0'; return out; };
    sequence.Start(g_pictures, 3, 100, kAnimationLoop, 1000);
    EXPECT_EQ(dues({1099, 1105, 1200, 1205, 1305}), "01011");  // late at 1105: the next period runs from there
    EXPECT_EQ(sequence.Current(), P(0));  // looped
    sequence.Start(g_pictures, 2, 100, kAnimationLoop, 0xFFFFFF00u);
    // Going backwards is no change and starts over from that moment.
    EXPECT_EQ(dues({0xFFFFFF40u, 0xFFFFFE00u, 0xFFFFFE60u, 0xFFFFFE64u}), "0001");
    sequence.Start(g_pictures, 2, 100, kAnimationLoop, 0xFFFFFFF0u);
    EXPECT_TRUE(sequence.AdvanceIfDue(0x54u));  // crossing zero forwards is an ordinary 100 ms
    sequence.Start(g_pictures, 4, 10, kAnimationOnce, 0);
    EXPECT_EQ(Played(sequence, 6, true), "0 1 2 3 3 3");
    EXPECT_TRUE(sequence.AdvanceIfDue(50));  // still reported as a change
    sequence.Start(g_pictures, 2, 10, 7, 0);  // an unknown mode loops
    EXPECT_EQ(Played(sequence, 3, true), "0 1 0");
    EXPECT_EQ(Played(sequence, sequence.Count()), "0 1");
    // Ping-pong shows each end twice; the slot behind the cycle holds the first picture once more.
    sequence.Start(g_pictures, 3, 10, kAnimationPingPong, 0);
    EXPECT_EQ(Played(sequence, sequence.Count() + 1), "0 0 1 2 2 1 0");
    EXPECT_EQ(Played(sequence, 7, true), "0 0 1 2 2 1 0");
    sequence.Start(g_pictures, 20, 10, kAnimationPingPong, 0);  // cut to its slots
    const int half = FrameSequence::kMaxPingPongPictures;
    EXPECT_TRUE(sequence.Count() == 2 * half && sequence.At(half) == P(half - 1) && sequence.At(2 * half) == P(0));

    sequence.Start(g_pictures, 8, 10, kAnimationLoop, 0);
    sequence.Previous();
    EXPECT_EQ(sequence.Index(), 7);
    sequence.Set(11);
    EXPECT_EQ(sequence.Index(), 3);
    sequence.Set(-1);
    EXPECT_EQ(sequence.Current(), P(7));
    sequence.Restart(g_pictures + 9, 2);  // the pictures as they are
    EXPECT_EQ(Played(sequence, 3, true), "9 10 9");
    sequence.Start(nullptr, 0, 10, kAnimationLoop, 0);  // an empty sequence stays put
    sequence.Next();
    sequence.Previous();
    sequence.Set(3);
    EXPECT_TRUE(sequence.Index() == 0 && sequence.Current() == nullptr);
}

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        scene = std::make_unique<gfx::Scene>(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
        animations.SetScene(scene.get());
        for (int i = 0; i < 4; ++i) {
            gfx::CreateBlankPicture(pictures[i], 16, 16);
            picturePointers[i] = &pictures[i];
        }
        frames.UseFrames(picturePointers, 4);
    }
    void TearDown() override {
        for (auto& sprite : sprites) scene->RemoveSprite(sprite);
        animations.Clear();
    }
    AnimatedSprite& Animate(int index, int32_t period) {
        AnimatedSprite& sprite = sprites[index];
        EXPECT_TRUE(sprite.InitAnimation(frames, 20 * index, 20, true, false, false, period, kAnimationLoop, 0));
        scene->AddSpriteAnimated(sprite, 5);
        return sprite;
    }

    std::unique_ptr<gfx::Scene> scene;
    AnimationList animations;
    gfx::Picture pictures[4];
    gfx::Picture* picturePointers[4] = {};
    FrameSet frames;
    AnimatedSprite sprites[2];
};

TEST_F(AnimationTest, SpritesDueTogetherShareOneRedrawAndFrameChangesMoveTheImageAlong) {
    plat::testing::SetTick(1000);
    AnimatedSprite& a = Animate(0, 100);
    AnimatedSprite& b = Animate(1, 100);
    EXPECT_TRUE(animations.Count() == 2 && a.image == &pictures[0]);
    const uint32_t before = plat::testing::PresentCount();
    for (const uint32_t tick : {1099u, 1100u}) {
        plat::testing::SetTick(tick);
        animations.Step();
        const bool due = tick == 1100;
        EXPECT_EQ(plat::testing::PresentCount(), before + (due ? 1 : 0));
        EXPECT_TRUE(a.image == &pictures[due ? 1 : 0] && b.image == &pictures[due ? 1 : 0]) << tick;
    }

    a.PreviousFrame();
    const gfx::Picture* previous = a.image;
    a.SetFrame(6);
    const gfx::Picture* set = a.image;
    a.NextFrame();
    EXPECT_EQ((std::vector<const gfx::Picture*>{previous, set, a.image}),
              (std::vector<const gfx::Picture*>{&pictures[0], &pictures[2], &pictures[3]}));
    // A restart keeps the picture on screen until the next change.
    FrameSet other;
    gfx::Picture* reversed[] = {&pictures[3], &pictures[2]};
    other.UseFrames(reversed, 2);
    a.RestartFrames(other);
    EXPECT_EQ(a.image, &pictures[3]);
    a.NextFrame();
    EXPECT_EQ(a.image, &pictures[2]);
}

TEST_F(AnimationTest, OutsideTheHuntTheControllerKeepsTheAnimationsStill) {
    std::vector<std::string> log;
    RecordingView view(log, "v");
    ViewList views;
    views.Add(&view, kViewHowToPlay);
    views.Start(kViewHowToPlay);
    GameController controller(views, animations);
    EventDispatcher dispatcher(views, controller, animations);
    plat::testing::SetTick(0);
    AnimatedSprite& sprite = Animate(0, 10);
    // Consumed by the screen or not (then the controller takes it, as only the hunt animates), or a quit.
    for (const int result : {kConsumed, kNotConsumed, kQuit}) {
        plat::testing::AdvanceTick(20);
        InputEvent event{};
        view.result = result;
        EXPECT_EQ(dispatcher.Dispatch(event), result == kQuit ? 0 : 1);
        EXPECT_EQ(sprite.Sequence().Index(), 0);
    }
    EXPECT_EQ(log.back(), "v.Leave");
}

TEST(FrameSetTest, LoadsAtMostThirtyPicturesAndFreesOnlyItsOwn) {
    plat::testing::Reset();
    FrameSet loaded;
    loaded.LoadFrames(102, 140, 12, 8);
    ASSERT_EQ(loaded.Count(), FrameSet::kMaxFrames);
    EXPECT_TRUE(!loaded.Shared() && loaded.Frames()[29]->width == 12 && loaded.Frames()[29]->height == 8);
    loaded.FreeFrames();
    EXPECT_EQ(loaded.Frames()[0], nullptr);
    gfx::Picture borrowed;
    gfx::CreateBlankPicture(borrowed, 4, 4);
    gfx::Picture* many[40];
    for (auto& p : many) p = &borrowed;
    FrameSet lent;
    lent.UseFrames(many, 40);
    EXPECT_TRUE(lent.Count() == FrameSet::kMaxFrames && lent.Shared());
    lent.FreeFrames();
    EXPECT_TRUE(lent.Frames()[0] == &borrowed && borrowed.surface != nullptr);
}

}  // namespace
