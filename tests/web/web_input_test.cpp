// The page's mouse, touch and keys as the panel's messages.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/machine.h"
#include "platform/core/panel_image.h"
#include "platform/testing.h"
#include "platform/web/web_input.h"

namespace {

using Phase = plat::WebInput::Phase;

class WebInputTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    std::vector<plat::Message> Drain() {
        std::vector<plat::Message> out;
        plat::Machine& machine = plat::Machine::Get();
        plat::Message m{};
        while (machine.HasMessages() && machine.GetMessage(m)) out.push_back(m);
        return out;
    }

    plat::WebInput input{plat::Machine::Get()};
};

plat::Point At(const plat::Message& m) { return plat::PenPoint(m.lParam); }

// A canvas shown at 640 x 480 CSS pixels: two CSS pixels per view pixel.
TEST_F(WebInputTest, MouseDragBecomesOnePenStrokeClampedToThePanel) {
    EXPECT_TRUE(input.Mouse(Phase::kDown, plat::WebInput::kLeft, 0.5, 1.0, 640, 480));
    EXPECT_TRUE(input.Mouse(Phase::kDown, plat::WebInput::kLeft, 10, 10, 640, 480));  // already down
    input.Mouse(Phase::kMove, -1, 639.9, 479.9, 640, 480);
    std::vector<plat::Message> m = Drain();
    input.Mouse(Phase::kMove, -1, -300, 900, 640, 480);  // dragged off the canvas
    input.Mouse(Phase::kUp, plat::WebInput::kLeft, 700, -5, 640, 480);
    input.Mouse(Phase::kMove, -1, 20, 20, 640, 480);  // a hover is nothing
    const std::vector<plat::Message> rest = Drain();
    m.insert(m.end(), rest.begin(), rest.end());
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].id, plat::kMsgPenDown);
    // The view's top-left is the panel's bottom-left.
    EXPECT_EQ(At(m[0]).x, 0);
    EXPECT_EQ(At(m[0]).y, 319);
    EXPECT_EQ(m[1].id, plat::kMsgPenMove);
    EXPECT_EQ(At(m[1]).x, 239);
    EXPECT_EQ(At(m[1]).y, 0);
    EXPECT_EQ(m[2].id, plat::kMsgPenMove);
    EXPECT_EQ(At(m[2]).x, 239);  // clamped to the bottom-left corner of the view
    EXPECT_EQ(At(m[2]).y, 319);
    EXPECT_EQ(m[3].id, plat::kMsgPenUp);
    EXPECT_EQ(At(m[3]).x, 0);
    EXPECT_EQ(At(m[3]).y, 0);
    EXPECT_FALSE(input.PenDown());
}

TEST_F(WebInputTest, APressBesideTheCanvasOrWithAnotherButtonIsNotAStroke) {
    input.Mouse(Phase::kDown, plat::WebInput::kLeft, -1, 10, 320, 240);
    EXPECT_FALSE(input.Mouse(Phase::kDown, 1, 10, 10, 320, 240));  // the middle button is the page's
    input.Mouse(Phase::kUp, plat::WebInput::kLeft, 10, 10, 320, 240);
    input.Mouse(Phase::kDown, plat::WebInput::kLeft, 10, 10, 0, 0);  // a canvas not laid out yet
    EXPECT_TRUE(Drain().empty());
    // The right button is the reload button.
    input.Mouse(Phase::kDown, plat::WebInput::kRight, 10, 10, 320, 240);
    input.Mouse(Phase::kUp, plat::WebInput::kRight, 10, 10, 320, 240);
    const std::vector<plat::Message> m = Drain();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].id, plat::kMsgHotKey);
    EXPECT_EQ(m[0].wParam, 0xC3u);
    EXPECT_EQ(m[1].id, plat::kMsgKeyUp);
    EXPECT_EQ(m[1].wParam, 0xC3u);
}

TEST_F(WebInputTest, TheFirstFingerHoldsTheStylusUntilItLifts) {
    input.Touch(Phase::kDown, 7, 100, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 200, 200, 320, 240);  // a second finger
    input.Mouse(Phase::kDown, plat::WebInput::kLeft, 50, 50, 320, 240);  // a mouse meanwhile
    input.Touch(Phase::kMove, 8, 210, 210, 320, 240);
    input.Touch(Phase::kMove, 7, 110, 100, 320, 240);
    input.Touch(Phase::kUp, 8, 210, 210, 320, 240);
    input.Touch(Phase::kUp, 7, 110, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 20, 30, 320, 240);  // now the other finger may
    const std::vector<plat::Message> m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].id, plat::kMsgPenDown);
    EXPECT_EQ(At(m[0]).y, 319 - 100);
    EXPECT_EQ(m[1].id, plat::kMsgPenMove);
    EXPECT_EQ(At(m[1]).y, 319 - 110);
    EXPECT_EQ(m[2].id, plat::kMsgPenUp);
    EXPECT_EQ(m[3].id, plat::kMsgPenDown);
    EXPECT_EQ(At(m[3]).x, 30);
}

TEST_F(WebInputTest, KeysFollowTheDesktopTable) {
    EXPECT_TRUE(input.Key(true, "ArrowLeft", "ArrowLeft", false, false, false));
    EXPECT_TRUE(input.Key(true, "ArrowLeft", "ArrowLeft", true, false, false));  // the system's repeat
    EXPECT_TRUE(input.Key(false, "ArrowLeft", "ArrowLeft", false, false, false));
    EXPECT_TRUE(input.Key(true, "Space", " ", false, false, false));
    EXPECT_TRUE(input.Key(true, "NumpadEnter", "Enter", false, false, false));
    EXPECT_FALSE(input.Key(true, "KeyR", "r", false, true, false));  // Ctrl+R reloads the page
    EXPECT_FALSE(input.Key(true, "ArrowUp", "ArrowUp", false, false, true));
    EXPECT_TRUE(input.Key(false, "ArrowUp", "ArrowUp", false, false, true));  // a release always counts
    EXPECT_FALSE(input.Key(true, "F5", "F5", false, false, false));
    EXPECT_FALSE(input.Key(false, "KeyQ", "q", false, false, false));
    const std::vector<plat::Message> m = Drain();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].id, plat::kMsgKeyDown);
    EXPECT_EQ(m[0].wParam, plat::kVkDown);  // the player's left is the panel's down
    EXPECT_EQ(m[1].id, plat::kMsgKeyUp);
    EXPECT_EQ(m[2].id, plat::kMsgHotKey);
    EXPECT_EQ(m[2].wParam, 0xC3u);
    EXPECT_EQ(m[3].id, plat::kMsgKeyDown);
    EXPECT_EQ(m[3].wParam, plat::kVkReturn);
    EXPECT_EQ(m[4].id, plat::kMsgChar);  // Enter also types its character
    EXPECT_EQ(m[4].wParam, 0x0Du);
    EXPECT_EQ(m[5].id, plat::kMsgKeyUp);
    EXPECT_EQ(m[5].wParam, plat::kVkLeft);
}

// Buttons go by the key's place, characters by what the layout types there.
TEST_F(WebInputTest, TypedCharactersFollowTheLayout) {
    EXPECT_TRUE(input.Key(true, "Digit1", "&", false, false, false));   // a French keyboard's 1 key
    EXPECT_TRUE(input.Key(true, "Digit2", "2", false, false, false));
    EXPECT_TRUE(input.Key(true, "KeyQ", "A", false, false, false));
    EXPECT_TRUE(input.Key(true, "Backspace", "Backspace", false, false, false));
    EXPECT_TRUE(input.Key(true, "Escape", "Escape", false, false, false));
    EXPECT_FALSE(input.Key(true, "Minus", "-", false, false, false));
    EXPECT_FALSE(input.Key(true, "KeyA", "a", false, false, true));  // Alt+A is the browser's
    const std::vector<plat::Message> m = Drain();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].id, plat::kMsgHotKey);
    EXPECT_EQ(m[0].wParam, 0xC1u);
    EXPECT_EQ(m[1].id, plat::kMsgHotKey);
    EXPECT_EQ(m[2].id, plat::kMsgChar);
    EXPECT_EQ(m[2].wParam, uint32_t{'2'});
    EXPECT_EQ(m[3].wParam, uint32_t{'A'});
    EXPECT_EQ(m[4].wParam, 0x08u);
    EXPECT_EQ(m[5].wParam, 0x1Bu);
}

TEST_F(WebInputTest, LosingTheFocusLetsGoOfEverythingHeld) {
    input.Key(true, "ArrowRight", "ArrowRight", false, false, false);
    input.Key(true, "Digit4", "4", false, false, false);
    input.Key(true, "Enter", "Enter", false, false, false);
    input.Key(false, "Enter", "Enter", false, false, false);
    input.Mouse(Phase::kDown, plat::WebInput::kLeft, 40, 60, 320, 240);
    Drain();
    input.FocusLost();
    std::vector<plat::Message> m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].id, plat::kMsgKeyUp);
    EXPECT_EQ(m[0].wParam, plat::kVkUp);
    EXPECT_EQ(m[1].id, plat::kMsgKeyUp);
    EXPECT_EQ(m[1].wParam, 0xC4u);
    EXPECT_EQ(m[2].id, plat::kMsgPenUp);
    EXPECT_EQ(At(m[2]).x, 60);
    EXPECT_EQ(At(m[2]).y, 319 - 40);
    EXPECT_EQ(m[3].id, plat::kMsgFocusLost);
    // Nothing is held any more: a second loss only says so.
    input.FocusLost();
    m = Drain();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].id, plat::kMsgFocusLost);
}

}  // namespace
