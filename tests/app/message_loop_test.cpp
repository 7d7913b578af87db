#include "app/message_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"

namespace {

using Log = std::vector<std::string>;

plat::Message PenDown(int16_t x, int16_t y) {
    return {plat::kMsgPenDown, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(y) << 16)};
}

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        views.Add(&first, 0);
        views.Add(&second, kViewHowToPlay);  // a screen the hunt leaves alone
        views.Start(0);
        log.clear();
    }

    Log log;
    RecordingView first{log, "a"};
    RecordingView second{log, "b"};
    ViewList views;
    AnimationList animations;
    GameController controller{views, animations};
    EventDispatcher dispatcher{views, controller, animations};
    InputState input;
};

TEST_F(MessageLoopTest, EveryMessageBecomesOneEventUntilTheQueueEnds) {
    plat::testing::PushMessage({plat::kMsgPaint, 0, 0});
    plat::testing::PushMessage(PenDown(5, 6));
    plat::testing::PushMessage({plat::kMsgPaint, 0, 0});
    plat::testing::PushMessage({plat::kMsgKeyDown, 'A', 0});
    plat::testing::PushMessage({plat::kMsgPaint, 0, 0});
    plat::testing::EndQueue();
    // A stylus left held by an earlier loop is forgotten when the loop starts;
    // consumed or not, every event goes on, a switch included.
    input.keyMask = kMaskPen;
    input.penDown = 1;
    first.result = kConsumed;
    views.SwitchTo(kViewHowToPlay);
    EXPECT_EQ(RunMessageLoop(input, dispatcher), 1);
    EXPECT_EQ(log, (Log{"a.Leave", "b.Enter", "b.Handle20", "b.Handle1", "b.Handle3", "b.Handle3", "b.Handle3"}));
}

TEST_F(MessageLoopTest, QuitEndsTheLoopAtOnce) {
    first.result = kQuit;
    for (int i = 0; i < 3; ++i) plat::testing::PushMessage({plat::kMsgPaint, 0, 0});
    plat::testing::EndQueue();
    EXPECT_EQ(RunMessageLoop(input, dispatcher), 0);
    EXPECT_EQ(log, (Log{"a.Handle0", "a.Leave"}));
    // The messages behind the quit are still there for nobody.
    plat::Message message{};
    EXPECT_TRUE(plat::GetMessage(message));
}

TEST_F(MessageLoopTest, ModalReaderReportsTheEndOfTheQueue) {
    plat::testing::PushMessage(PenDown(30, 40));
    plat::testing::EndQueue();
    InputEvent event{};
    ASSERT_TRUE(ReadModalEvent(input, event));
    EXPECT_EQ(event.type, kEventPenDown);
    EXPECT_EQ(event.x, 30);
    EXPECT_EQ(event.y, 40);
    // A modal loop sees the end and can give up instead of waiting forever.
    EXPECT_FALSE(ReadModalEvent(input, event));
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_FALSE(ReadModalEvent(input, event));
}

TEST_F(MessageLoopTest, HeartbeatKeepsEventsComingWhileNothingHappens) {
    ASSERT_TRUE(plat::StartTimer(15000, 10));
    InputEvent event{};
    const uint32_t start = plat::GetTickCount();
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(ReadModalEvent(input, event));
        EXPECT_EQ(event.type, kEventIdle);
        EXPECT_EQ(event.keyCount, 0);
    }
    EXPECT_GE(plat::GetTickCount() - start, 50u);
}

}  // namespace
