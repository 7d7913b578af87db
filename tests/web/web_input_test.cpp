// The page's mouse, touch and keys as the panel's messages.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/machine.h"
#include "platform/core/script.h"
#include "platform/testing.h"
#include "platform/web/web_input.h"

namespace {

using Phase = plat::WebInput::Phase;
constexpr int kLeft = plat::WebInput::kLeft;

class WebInputTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    // The messages waiting, as a recording writes them (points in the view).
    std::string Drain() {
        std::string out;
        plat::Machine& machine = plat::Machine::Get();
        for (plat::Message m{}; machine.HasMessages() && machine.GetMessage(m);) {
            out += plat::FormatScriptLine(m, 0).substr(2) + ";";
        }
        return out;
    }

    plat::WebInput input{plat::Machine::Get()};
};

TEST_F(WebInputTest, AMouseDragOrTheFirstFingerIsOnePenStrokeClampedToThePanelAndOnlyTheLeftButtonStrokes) {
    EXPECT_TRUE(input.Mouse(Phase::kDown, kLeft, 0.5, 1.0, 640, 480));  // a canvas of 640 x 480 CSS pixels
    EXPECT_TRUE(input.Mouse(Phase::kDown, kLeft, 10, 10, 640, 480));  // already down
    input.Mouse(Phase::kMove, -1, 639.9, 479.9, 640, 480);
    std::string m = Drain();
    input.Mouse(Phase::kMove, -1, -300, 900, 640, 480);  // dragged off the canvas
    input.Mouse(Phase::kUp, kLeft, 700, -5, 640, 480);
    input.Mouse(Phase::kMove, -1, 20, 20, 640, 480);  // a hover is nothing
    EXPECT_EQ(m + Drain(), "down 0 0;move 319 239;move 0 239;up 319 0;");
    EXPECT_FALSE(input.PenDown());
    input.Mouse(Phase::kDown, kLeft, -1, 10, 320, 240);  // beside the canvas
    EXPECT_FALSE(input.Mouse(Phase::kDown, 1, 10, 10, 320, 240));  // the middle button is the page's
    input.Mouse(Phase::kUp, kLeft, 10, 10, 320, 240);
    input.Mouse(Phase::kDown, kLeft, 10, 10, 0, 0);  // a canvas not laid out yet
    EXPECT_EQ(Drain(), "");
    input.Mouse(Phase::kDown, plat::WebInput::kRight, 10, 10, 320, 240);  // the right button is the reload button
    input.Mouse(Phase::kUp, plat::WebInput::kRight, 10, 10, 320, 240);
    EXPECT_EQ(Drain(), "hotkey 0xC3;keyup 0xC3;");
    // The first finger holds the stylus until it lifts.
    input.Touch(Phase::kDown, 7, 100, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 200, 200, 320, 240);  // a second finger
    input.Mouse(Phase::kDown, kLeft, 50, 50, 320, 240);  // a mouse meanwhile
    input.Touch(Phase::kMove, 8, 210, 210, 320, 240);
    input.Touch(Phase::kMove, 7, 110, 100, 320, 240);
    input.Touch(Phase::kUp, 8, 210, 210, 320, 240);
    input.Touch(Phase::kUp, 7, 110, 100, 320, 240);
    input.Touch(Phase::kDown, 8, 20, 30, 320, 240);  // now the other finger may
    EXPECT_EQ(Drain(), "down 100 100;move 110 100;up 110 100;down 20 30;");
}

// Buttons go by the key's place, characters by what the layout types there.
TEST_F(WebInputTest, KeysFollowTheDesktopTableCharactersTheLayoutAndALostFocusLetsGoOfThem) {
    const struct {
        bool down;
        const char* code;
        const char* key;
        bool repeat, ctrl, alt, taken;
    } keys[] = {
        {true, "ArrowLeft", "ArrowLeft", false, false, false, true},
        {true, "ArrowLeft", "ArrowLeft", true, false, false, true},  // the system's repeat
        {false, "ArrowLeft", "ArrowLeft", false, false, false, true},
        {true, "Space", " ", false, false, false, true},
        {true, "NumpadEnter", "Enter", false, false, false, true},  // also types its character
        {true, "KeyR", "r", false, true, false, false},             // Ctrl+R reloads the page
        {true, "ArrowUp", "ArrowUp", false, false, true, false},
        {false, "ArrowUp", "ArrowUp", false, false, true, true},  // a release always counts
        {true, "F5", "F5", false, false, false, false},
        {false, "KeyQ", "q", false, false, false, false},
        {true, "Digit1", "&", false, false, false, true},  // a French keyboard's 1 key
        {true, "Digit2", "2", false, false, false, true},
        {true, "KeyQ", "A", false, false, false, true},
        {true, "Backspace", "Backspace", false, false, false, true},
        {true, "Escape", "Escape", false, false, false, true},
        {true, "Minus", "-", false, false, false, false},
        {true, "KeyA", "a", false, false, true, false},  // Alt+A is the browser's
    };
    for (const auto& k : keys) EXPECT_EQ(input.Key(k.down, k.code, k.key, k.repeat, k.ctrl, k.alt), k.taken) << k.code;
    // The player's left is the panel's down.
    EXPECT_EQ(Drain(),
              "keydown 0x28;keyup 0x28;hotkey 0xC3;keydown 0x0D;char enter;keyup 0x25;hotkey 0xC1;hotkey 0xC2;"
              "char 2;char A;char backspace;char escape;");
    // Losing the focus lets go of everything held.
    input.Key(true, "ArrowRight", "ArrowRight", false, false, false);
    input.Key(true, "Digit4", "4", false, false, false);
    input.Key(true, "Enter", "Enter", false, false, false);
    input.Key(false, "Enter", "Enter", false, false, false);
    input.Mouse(Phase::kDown, kLeft, 40, 60, 320, 240);
    Drain();
    input.FocusLost();
    EXPECT_EQ(Drain(), "keyup 0x26;keyup 0xC1;keyup 0xC2;keyup 0xC3;keyup 0xC4;up 40 60;focus-lost;");
    // Nothing is held any more: a second loss only says so.
    input.FocusLost();
    EXPECT_EQ(Drain(), "focus-lost;");
}

}  // namespace
