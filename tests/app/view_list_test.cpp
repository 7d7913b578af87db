// The view list's switches and back stack, the message loop that feeds it, and a view's controls.
#include "app/view_list.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/message_loop.h"
#include "game/game_controller.h"
#include "graphics/scene.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"
#include "widgets/control.h"

namespace {

using Log = std::vector<std::string>;

class ViewListTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        for (const uint8_t id : std::initializer_list<uint8_t>{0, 1, 5, 7, 12}) {
            views.push_back(std::make_unique<RecordingView>(log, "v" + std::to_string(id)));
            list.Add(views.back().get(), id);
        }
    }
    int Send(uint32_t type = kEventIdle) {
        InputEvent event{};
        event.type = type;
        return list.HandleEvent(event);
    }
    // Requests a switch and lets it happen.
    void Go(uint8_t id, bool push) {
        list.SwitchTo(id, push);
        Send();
    }
    void Back() { list.Back(), Send(); }
    Log Taken() { return std::exchange(log, {}); }
    // "current next previous depth"
    std::string State() const { return std::to_string(list.Current()) + " " + std::to_string(list.Next()) + " " + std::to_string(list.Previous()) + " " + std::to_string(list.Depth()); }

    Log log;
    std::vector<std::unique_ptr<RecordingView>> views;
    ViewList list;
};

TEST_F(ViewListTest, SwitchTakesEffectAtTheNextEventAsViewEnteredAndQuitLeavesAtOnce) {
    list.Start(1);
    EXPECT_EQ(Taken(), (Log{"v1.Enter"}));
    list.SwitchTo(7);
    EXPECT_EQ(State(), "1 7 1 0");
    Send(kEventPenDown);
    Send(kEventPenDown);
    EXPECT_EQ(Taken(), (Log{"v1.Leave", "v7.Enter", "v7.Handle20", "v7.Handle1"}));
    EXPECT_EQ(State(), "7 7 1 0");
    views[3]->result = kQuit;
    EXPECT_EQ(Send(), kQuit);
    EXPECT_EQ(Taken(), (Log{"v7.Handle0", "v7.Leave"}));
}

TEST_F(ViewListTest, PushedSwitchesReturnThroughBackAFullStackOverwritesItsTopAndProgrammingErrorsSaySo) {
    list.Start(0);
    Go(7, true);
    Go(5, true);
    EXPECT_EQ(State(), "5 5 7 2");
    for (const char* state : {"7 7 5 1", "0 0 7 0"}) {
        Back();
        EXPECT_EQ(State(), state);
    }
    Taken();
    Back();  // with nothing pushed it stays
    EXPECT_TRUE(Taken() == Log{"v0.Handle0"} && list.Depth() == 0);
    // Twenty pushes of alternating views; the nineteenth pushes 12.
    for (int i = 0; i < 20; ++i) Go(i % 2 == 0 ? 1 : 12, true);
    EXPECT_EQ(list.Depth(), 19);
    list.Back();
    EXPECT_EQ(State(), "12 12 12 18");
    Send();
    list.ResetBackStack();  // only the bottom entry stays
    Back();
    EXPECT_EQ(State(), "0 0 12 0");
    // Programming errors show their message with an empty caption.
    list.SwitchTo(3);
    list.Start(9);
    EXPECT_TRUE(list.Next() == 0 && list.Current() == 0);
    RecordingView extra(log, "x");
    list.Add(&extra, 20);
    list.Add(&extra, 255);
    EXPECT_EQ(list.ViewAt(19), nullptr);
    list.Add(&extra, 7);  // over an id
    Taken();
    list.Start(7);
    EXPECT_EQ(Taken(), (Log{"x.Enter"}));
    Log boxes;
    for (const auto& box : plat::testing::MessageBoxes()) boxes.push_back(box.text + "|" + box.caption + "|" + std::to_string(box.flags));
    const std::string ok = "||" + std::to_string(plat::kMbOk);
    EXPECT_EQ(boxes, (Log{"Not such View in View List" + ok, "This view is not added to View List" + ok,
                          "More views than are permited" + ok, "More views than are permited" + ok}));
}

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

TEST_F(MessageLoopTest, EveryMessageBecomesOneEventUntilTheQueueEndsOrAQuitAndTheModalReaderSeesTheEndToo) {
    Queue({kPaint, kPenDown, kPaint, {plat::kMsgKeyDown, 'A', 0}, kPaint});
    // A stylus left held by an earlier loop is forgotten when the loop starts;
    // consumed or not, every event goes on, a switch included.
    input.keyMask = kMaskPen;
    input.penDown = 1;
    first.result = kConsumed;
    views.SwitchTo(kViewHowToPlay);
    EXPECT_EQ(RunMessageLoop(input, dispatcher), 1);
    EXPECT_EQ(log, (Log{"a.Leave", "b.Enter", "b.Handle20", "b.Handle1", "b.Handle3", "b.Handle3", "b.Handle3"}));
    log.clear();
    plat::testing::Reset();  // a new queue
    second.result = kQuit;
    Queue({kPaint, kPaint, kPaint});
    EXPECT_EQ(RunMessageLoop(input, dispatcher), 0);
    EXPECT_EQ(log, (Log{"b.Handle0", "b.Leave"}));
    plat::Message message{};
    EXPECT_TRUE(plat::GetMessage(message));  // the messages behind the quit are still there for nobody
    // The modal reader reports the end of the queue, and heartbeats while nothing happens.
    plat::testing::Reset();
    input = InputState{};
    Queue({kPenDown});
    InputEvent event{};
    ASSERT_TRUE(ReadModalEvent(input, event));
    EXPECT_EQ((std::vector<int>{static_cast<int>(event.type), event.x, event.y}), (std::vector<int>{kEventPenDown, 30, 40}));
    // A modal loop sees the end and can give up instead of waiting forever.
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(!ReadModalEvent(input, event) && event.type == kEventIdle) << i;
    plat::testing::Reset();
    input = InputState{};
    ASSERT_TRUE(plat::StartTimer(15000, 10));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(ReadModalEvent(input, event) && event.type == kEventIdle && event.keyCount == 0) << i;
    EXPECT_EQ(plat::GetTickCount(), 50u);
}

// Takes pen-downs inside its box as a click with its id; marks every other event it sees without taking it.
class BoxControl : public Control {
public:
    BoxControl(gfx::Picture* picture, uint16_t controlId, int32_t x) : id(controlId) {
        gfx::Picture* pictures[] = {picture};
        looks.UseFrames(pictures, 1);
        sprite.InitAnimation(looks, x, 0, false, false, false, 0, kAnimationLoop, 0);
    }
    uint8_t HandleEvent(InputEvent& event) override {
        ++seen;
        if (event.type == kEventPenDown && HitTest(event.x, event.y)) {
            event.type = kEventControlClicked;
            event.payload[kSlotControlId] = id;
            return 1;
        }
        event.payload[0] += 1;
        return 0;
    }
    bool HitTest(int32_t px, int32_t py) const override { return px >= sprite.x && px <= sprite.x + 20 && py >= sprite.y && py <= sprite.y + 20; }

    FrameSet looks;
    uint16_t id;
    int seen = 0;
};

TEST(ViewControls, TheFirstToTakeAnEventWinsOnlyVisibleOnesAreShownAndRemovingFillsTheSlotWithTheLast) {
    plat::testing::Reset();
    gfx::Scene scene(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
    std::vector<std::string> log;
    RecordingView view{log, "v"};
    view.SetScene(&scene);
    gfx::Picture picture;
    gfx::CreateBlankPicture(picture, 20, 20);
    std::unique_ptr<BoxControl> controls[3];
    for (int i = 0; i < 3; ++i) {
        controls[i] = std::make_unique<BoxControl>(&picture, static_cast<uint16_t>(100 + i), 50 * i);
        view.AddControl(controls[i].get());
    }
    // What each control saw, and the presents since.
    const auto seen = [&, presents = plat::testing::PresentCount()] {
        return std::to_string(controls[0]->seen) + " " + std::to_string(controls[1]->seen) + " " + std::to_string(controls[2]->seen) + " p" +
               std::to_string(plat::testing::PresentCount() - presents);
    };
    view.SetControlVisible(1, false);
    for (auto& control : controls) view.ShowControl(*control, 4);
    EXPECT_TRUE(scene.Sprites().Count() == 2u && controls[0]->sprite.dirty && !controls[1]->sprite.dirty);
    view.SetControlVisible(1, true);
    view.ShowControl(*controls[1], 4);
    InputEvent event{kEventPenDown, 55, 5, 0, {}};  // inside the second control only
    EXPECT_EQ(view.RouteToControls(event), 1);
    // One private copy for all: the winner's carries the first one's mark.
    EXPECT_TRUE(event.type == kEventControlClicked && event.payload[kSlotControlId] == 101u && event.payload[0] == 1u);
    EXPECT_EQ(seen(), "1 1 0 p1");
    // An event no control takes is left as it was, unpresented.
    InputEvent missed{kEventPenDown, 200, 200, 0, {}};
    EXPECT_EQ(view.RouteToControls(missed), 0);
    EXPECT_TRUE(missed.type == kEventPenDown && missed.payload[0] == 0u);  // the marks stayed in the private copy
    EXPECT_EQ(seen(), "2 2 1 p1");

    view.RemoveControl(0);
    view.RemoveControl(5);  // no such slot
    EXPECT_EQ((std::vector<Control*>{view.ControlAt(0), view.ControlAt(1)}), (std::vector<Control*>{controls[2].get(), controls[1].get()}));
    EXPECT_TRUE(view.ControlCount() == 2 && scene.Sprites().Count() == 2u);
    view.ClearControls();
    EXPECT_TRUE(view.ControlCount() == 0 && scene.Sprites().Count() == 0u);
    InputEvent after{kEventPenDown, 5, 5, 0, {}};
    EXPECT_EQ(view.RouteToControls(after), 0);
}

}  // namespace
