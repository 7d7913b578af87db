#include "app/view_list.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "tests/app/recording_view.h"

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
    RecordingView& View(size_t i) { return *views[i]; }

    Log log;
    std::vector<std::unique_ptr<RecordingView>> views;
    ViewList list;
};

TEST_F(ViewListTest, SwitchTakesEffectAtTheNextEventAsViewEntered) {
    list.Start(1);
    EXPECT_EQ(log, (Log{"v1.Enter"}));
    log.clear();
    list.SwitchTo(7);
    EXPECT_EQ(list.Current(), 1);
    EXPECT_EQ(list.Next(), 7);
    EXPECT_EQ(list.Previous(), 1);
    Send(kEventPenDown);
    EXPECT_EQ(log, (Log{"v1.Leave", "v7.Enter", "v7.Handle20"}));
    log.clear();
    Send(kEventPenDown);
    EXPECT_EQ(log, (Log{"v7.Handle1"}));
    EXPECT_EQ(list.Current(), 7);
    EXPECT_EQ(list.Depth(), 0);
}

TEST_F(ViewListTest, PushedSwitchesReturnThroughBackAndAFullStackOverwritesItsTop) {
    list.Start(0);
    Go(7, true);
    Go(5, true);
    EXPECT_EQ(list.Depth(), 2);
    list.Back();
    Send();
    EXPECT_EQ(list.Current(), 7);
    list.Back();
    Send();
    EXPECT_EQ(list.Current(), 0);
    EXPECT_EQ(list.Previous(), 7);
    // Back with nothing pushed stays.
    list.Back();
    log.clear();
    Send();
    EXPECT_EQ(log, (Log{"v0.Handle0"}));
    EXPECT_EQ(list.Depth(), 0);
    // Twenty pushes of alternating views; the nineteenth pushes 12.
    for (int i = 0; i < 20; ++i) Go(i % 2 == 0 ? 1 : 12, true);
    EXPECT_EQ(list.Depth(), 19);
    list.Back();
    EXPECT_EQ(list.Next(), 12);
    EXPECT_EQ(list.Depth(), 18);
    Send();
    list.ResetBackStack();  // only the bottom entry stays
    list.Back();
    Send();
    EXPECT_EQ(list.Current(), 0);
    EXPECT_EQ(list.Depth(), 0);
}

TEST_F(ViewListTest, QuitLeavesTheViewAtOnce) {
    list.Start(12);
    View(4).result = kQuit;
    log.clear();
    EXPECT_EQ(Send(), kQuit);
    EXPECT_EQ(log, (Log{"v12.Handle0", "v12.Leave"}));
}

TEST_F(ViewListTest, ProgrammingErrorsShowTheirMessageWithAnEmptyCaption) {
    list.Start(1);
    list.SwitchTo(3);
    EXPECT_EQ(list.Current(), 1);
    EXPECT_EQ(list.Next(), 1);
    list.Start(9);
    EXPECT_EQ(list.Current(), 1);
    RecordingView extra(log, "x");
    list.Add(&extra, 20);
    list.Add(&extra, 255);
    EXPECT_EQ(list.ViewAt(19), nullptr);
    list.Add(&extra, 7);  // over an id
    log.clear();
    list.Start(7);
    EXPECT_EQ(log, (Log{"x.Enter"}));

    const auto& boxes = plat::testing::MessageBoxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].text, "Not such View in View List");
    EXPECT_EQ(boxes[1].text, "This view is not added to View List");
    EXPECT_EQ(boxes[2].text, "More views than are permited");
    EXPECT_EQ(boxes[3].text, "More views than are permited");
    for (const auto& box : boxes) {
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.flags, plat::kMbOk);
    }
}

}  // namespace
