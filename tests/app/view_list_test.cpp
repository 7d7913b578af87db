#include "app/view_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <initializer_list>
#include <string>
#include <utility>
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
    Log Taken() { return std::exchange(log, {}); }

    Log log;
    std::vector<std::unique_ptr<RecordingView>> views;
    ViewList list;
};

TEST_F(ViewListTest, SwitchTakesEffectAtTheNextEventAsViewEnteredAndQuitLeavesAtOnce) {
    list.Start(1);
    EXPECT_EQ(Taken(), (Log{"v1.Enter"}));
    list.SwitchTo(7);
    EXPECT_EQ(list.Current(), 1);
    EXPECT_EQ(list.Next(), 7);
    EXPECT_EQ(list.Previous(), 1);
    Send(kEventPenDown);
    Send(kEventPenDown);
    EXPECT_EQ(Taken(), (Log{"v1.Leave", "v7.Enter", "v7.Handle20", "v7.Handle1"}));
    EXPECT_EQ(list.Current(), 7);
    EXPECT_EQ(list.Depth(), 0);
    views[3]->result = kQuit;
    EXPECT_EQ(Send(), kQuit);
    EXPECT_EQ(Taken(), (Log{"v7.Handle0", "v7.Leave"}));
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
    list.Back();  // with nothing pushed it stays
    Taken();
    Send();
    EXPECT_EQ(Taken(), (Log{"v0.Handle0"}));
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

TEST_F(ViewListTest, ProgrammingErrorsShowTheirMessageWithAnEmptyCaption) {
    list.Start(1);
    list.SwitchTo(3);
    EXPECT_EQ(list.Next(), 1);
    list.Start(9);
    EXPECT_EQ(list.Current(), 1);
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

}  // namespace
