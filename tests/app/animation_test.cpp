#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/frame_set.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "graphics/scene.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"

namespace {

class AnimationTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        scene = std::make_unique<gfx::Scene>(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
        animations.SetScene(scene.get());
        for (auto& picture : pictures) gfx::CreateBlankPicture(picture, 16, 16);
        for (int i = 0; i < 4; ++i) picturePointers[i] = &pictures[i];
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

TEST_F(AnimationTest, SpritesDueTogetherShareOneRedraw) {
    plat::testing::SetTick(1000);
    AnimatedSprite& a = Animate(0, 100);
    AnimatedSprite& b = Animate(1, 100);
    EXPECT_EQ(animations.Count(), 2);
    EXPECT_EQ(a.image, &pictures[0]);

    const uint32_t before = plat::testing::PresentCount();
    for (const uint32_t tick : {1099u, 1100u}) {
        plat::testing::SetTick(tick);
        animations.Step();
        const bool due = tick == 1100;
        EXPECT_EQ(plat::testing::PresentCount(), before + (due ? 1 : 0));
        EXPECT_EQ(a.image, &pictures[due ? 1 : 0]);
        EXPECT_EQ(b.image, &pictures[due ? 1 : 0]);
    }
}

TEST_F(AnimationTest, FrameChangesMoveTheImageAlong) {
    AnimatedSprite& sprite = Animate(0, 50);
    sprite.PreviousFrame();
    const gfx::Picture* previous = sprite.image;
    sprite.SetFrame(6);
    const gfx::Picture* set = sprite.image;
    sprite.NextFrame();
    EXPECT_EQ((std::vector<const gfx::Picture*>{previous, set, sprite.image}),
              (std::vector<const gfx::Picture*>{&pictures[3], &pictures[2], &pictures[3]}));
    // A restart keeps the picture on screen until the next change.
    FrameSet other;
    gfx::Picture* reversed[] = {&pictures[3], &pictures[2]};
    other.UseFrames(reversed, 2);
    sprite.RestartFrames(other);
    EXPECT_EQ(sprite.image, &pictures[3]);
    sprite.NextFrame();
    EXPECT_EQ(sprite.image, &pictures[2]);
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
    EXPECT_FALSE(loaded.Shared());
    EXPECT_EQ(loaded.Frames()[29]->width, 12);
    EXPECT_EQ(loaded.Frames()[29]->height, 8);
    loaded.FreeFrames();
    EXPECT_EQ(loaded.Frames()[0], nullptr);

    gfx::Picture borrowed;
    gfx::CreateBlankPicture(borrowed, 4, 4);
    gfx::Picture* many[40];
    for (auto& p : many) p = &borrowed;
    FrameSet lent;
    lent.UseFrames(many, 40);
    EXPECT_EQ(lent.Count(), FrameSet::kMaxFrames);
    EXPECT_TRUE(lent.Shared());
    lent.FreeFrames();
    EXPECT_EQ(lent.Frames()[0], &borrowed);
    EXPECT_NE(borrowed.surface, nullptr);
}

}  // namespace
