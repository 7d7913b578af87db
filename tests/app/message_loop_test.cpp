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

const plat::Message kPaint = {plat::kMsgPaint, 0, 0};
const plat::Message kPenDown = {plat::kMsgPenDown, 0, 30 | (40u << 16)};

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        views.Add(&first, 0);
        views.Add(&second, kViewHowToPlay);  // a screen the hunt leaves alone
        views.Start(0);
        log.clear();
    }
    static void Queue(std::initializer_list<plat::Message> messages) {
        for (const plat::Message& m : messages) plat::testing::PushMessage(m);
        plat::testing::EndQueue();
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
    Queue({kPaint, kPenDown, kPaint, {plat::kMsgKeyDown, 'A', 0}, kPaint});
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
    Queue({kPaint, kPaint, kPaint});
    EXPECT_EQ(RunMessageLoop(input, dispatcher), 0);
    EXPECT_EQ(log, (Log{"a.Handle0", "a.Leave"}));
    plat::Message message{};
    EXPECT_TRUE(plat::GetMessage(message));  // the messages behind the quit are still there for nobody
}

TEST_F(MessageLoopTest, ModalReaderReportsTheEndOfTheQueueAndHeartbeatsWhileNothingHappens) {
    Queue({kPenDown});
    InputEvent event{};
    ASSERT_TRUE(ReadModalEvent(input, event));
    EXPECT_EQ((std::vector<int>{static_cast<int>(event.type), event.x, event.y}), (std::vector<int>{kEventPenDown, 30, 40}));
    // A modal loop sees the end and can give up instead of waiting forever.
    EXPECT_FALSE(ReadModalEvent(input, event));
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_FALSE(ReadModalEvent(input, event));

    plat::testing::Reset();
    input = InputState{};
    ASSERT_TRUE(plat::StartTimer(15000, 10));
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(ReadModalEvent(input, event));
        EXPECT_EQ(event.type, kEventIdle);
        EXPECT_EQ(event.keyCount, 0);
    }
    EXPECT_EQ(plat::GetTickCount(), 50u);
}

}  // namespace
