// Scripts for the headless runner and the lines a recording writes.
#include <gtest/gtest.h>

#include <vector>

#include "platform/core/panel_image.h"
#include "platform/core/script.h"

namespace {

uint32_t Pen(int32_t panelX, int32_t panelY) {
    return static_cast<uint32_t>(panelX) | (static_cast<uint32_t>(panelY) << 16);
}

TEST(PanelView, CornersTurnAQuarterClockwiseAndSoDoesTheWholePicture) {
    // The panel's top-left corner shows at the player's top right.
    EXPECT_EQ(plat::PanelToView({0, 0}).x, 319);
    EXPECT_EQ(plat::PanelToView({0, 0}).y, 0);
    EXPECT_EQ(plat::PanelToView({239, 319}).x, 0);
    EXPECT_EQ(plat::PanelToView({239, 319}).y, 239);
    for (int32_t x = 0; x < 320; x += 7) {
        for (int32_t y = 0; y < 240; y += 5) {
            const plat::Point back = plat::PanelToView(plat::ViewToPanel({x, y}));
            ASSERT_EQ(back.x, x);
            ASSERT_EQ(back.y, y);
        }
    }
    std::vector<uint16_t> panel(240 * 320), view(320 * 240, 0);
    for (size_t i = 0; i < panel.size(); ++i) panel[i] = static_cast<uint16_t>(i * 7 + 1);
    plat::RotatePanelToView(panel.data(), view.data());
    for (int32_t y = 0; y < 240; ++y) {
        for (int32_t x = 0; x < 320; ++x) {
            const plat::Point p = plat::ViewToPanel({x, y});
            ASSERT_EQ(view[y * 320 + x], panel[p.y * 240 + p.x]) << x << "," << y;
        }
    }
}

TEST(Script, TimesActionsAndReleasesInOrder) {
    const char* text =
        "# a comment line\n"
        "100 tap 10 20   # view coordinates\n"
        "+20 press left\n"
        "+100 button 3\n"
        "400 shot menu\n"
        "\n"
        "+0 quit\n";
    plat::Script script;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(text, script, error)) << error;
    EXPECT_EQ(script.startTick, 0u);
    const std::vector<plat::ScriptAction>& a = script.actions;
    ASSERT_EQ(a.size(), 8u);
    // 100 down, 120 keydown, 150 up, 170 keyup, 220 hotkey, 270 keyup, 400 shot, 400 quit
    EXPECT_EQ(a[0].tick, 100u);
    EXPECT_EQ(a[0].message.id, plat::kMsgPenDown);
    EXPECT_EQ(a[0].message.lParam, Pen(20, 309));
    EXPECT_EQ(a[1].tick, 120u);
    EXPECT_EQ(a[1].message.id, plat::kMsgKeyDown);
    EXPECT_EQ(a[1].message.wParam, plat::kVkDown);  // the player's left is the panel's down
    EXPECT_EQ(a[2].tick, 150u);
    EXPECT_EQ(a[2].message.id, plat::kMsgPenUp);
    EXPECT_EQ(a[3].message.id, plat::kMsgKeyUp);
    EXPECT_EQ(a[4].tick, 220u);
    EXPECT_EQ(a[4].message.id, plat::kMsgHotKey);
    EXPECT_EQ(a[4].message.wParam, 0xC3u);
    EXPECT_EQ(a[5].message.id, plat::kMsgKeyUp);
    EXPECT_EQ(a[5].message.wParam, 0xC3u);
    EXPECT_EQ(a[6].kind, plat::ScriptAction::kShot);
    EXPECT_EQ(a[6].name, "menu");
    EXPECT_EQ(a[7].kind, plat::ScriptAction::kQuit);
}

TEST(Script, FaultsNameTheirLine) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"100 tap 10\n", "line 1: 'tap' takes 2 arguments"},
        {"100 tap 10 20\n50 quit\n", "line 2: time goes backwards"},
        {"\n\nsoon quit\n", "line 3:"},
        {"100 tap 320 0\n", "line 1: a point"},
        {"100 press jump\n", "unknown key 'jump'"},
        {"100 button 5\n", "buttons are 1 to 4"},
        {"100 fly\n", "unknown action 'fly'"},
        {"100 char ab\n", "line 1: a character is"},
        {"100 char !\n", "line 1: a character is"},
        {"100 focus-lost now\n", "'focus-lost' takes 0 arguments"},
        // The start comes first, once the clock runs it cannot change.
        {"100 quit\nstart 5\n", "line 2: 'start N'"},
        {"start -5\n", "line 1: 'start N'"},
        {"start 4294967296\n", "line 1: 'start N'"},
        {"100 quit\noption hunt\n", "line 2: 'option hunt'"},
        {"option fly\n", "line 1: 'option hunt'"},
        // Times stay within one turn of the tick counter, also when added up.
        {"4294967296 quit\n", "line 1: a line starts with a time"},
        {"4000000000 quit\n+294967296 quit\n", "line 2: the time is past 4294967295"},
        {"4294967295 tap 1 1\n", "line 1: 'tap' lets go 50 ms later"},
        {"4294967290 button 3\n", "line 1: 'button' lets go"},
        {"+-5 quit\n", "line 1: a line starts"},
    };
    for (const Case& c : cases) {
        plat::Script a;
        std::string error;
        EXPECT_FALSE(plat::ParseScript(c.text, a, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(Script, ScreenshotNamesStayInTheShotsFolder) {
    for (const char* name : {"menu", "hunt-2.final", "A_b9"}) {
        plat::Script script;
        std::string error;
        EXPECT_TRUE(plat::ParseScript(std::string("10 shot ") + name + "\n", script, error)) << name << ": " << error;
    }
    const std::string bad[] = {"../x", "a/b", "a\\b", "..", ".hidden", "-rf", std::string("a\0b", 3), "caf\xc3\xa9"};
    for (const std::string& name : bad) {
        plat::Script script;
        std::string error;
        EXPECT_FALSE(plat::ParseScript("\n10 shot " + name + "\n", script, error)) << name;
        EXPECT_EQ(error.rfind("line 2: a screenshot name", 0), 0u) << name << " gave: " << error;
    }
}

TEST(Script, TimesCountFromTheStartAndReachTheWholeTickRange) {
    const char* text =
        "start 4294967000\n"
        "+100 keydown left\n"         // relative to the start of the run
        "2147483648 keyup left\n"     // above the largest signed 32-bit time
        "+2147483597 tap 10 10\n"     // lets go at the last tick there is
        "4294967295 quit\n";
    plat::Script script;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(text, script, error)) << error;
    EXPECT_EQ(script.startTick, 4294967000u);
    const std::vector<plat::ScriptAction>& a = script.actions;
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0].tick, 100u);
    EXPECT_EQ(a[1].tick, 2147483648u);
    EXPECT_EQ(a[2].tick, 4294967245u);
    EXPECT_EQ(a[2].message.id, plat::kMsgPenDown);
    // The release at the last tick still sorts after its press, beside the quit.
    EXPECT_EQ(a[3].tick, 4294967295u);
    EXPECT_EQ(a[3].message.id, plat::kMsgPenUp);
    EXPECT_EQ(a[4].kind, plat::ScriptAction::kQuit);
}

TEST(Script, RecordedLinesReplayTheSameMessages) {
    const plat::Message messages[] = {
        {plat::kMsgPenDown, 0, Pen(0, 0)},       {plat::kMsgPenMove, 0, Pen(239, 319)},
        {plat::kMsgPenUp, 0, Pen(120, 7)},       {plat::kMsgKeyDown, plat::kVkReturn, 0},
        {plat::kMsgKeyUp, plat::kVkRight, 0},    {plat::kMsgHotKey, 0xC1, 0},
        {plat::kMsgChar, 'a', 0},                {plat::kMsgChar, 'Z', 0},
        {plat::kMsgChar, '7', 0},                {plat::kMsgChar, 0x08, 0},
        {plat::kMsgChar, 0x0D, 0},               {plat::kMsgChar, 0x1B, 0},
        {plat::kMsgFocusLost, 0, 0},
    };
    // A recording that began just before the tick counter wrapped, running past 2^31 ms.
    std::string text = plat::FormatStartLines(4294967290u, {"hunt"}) + "\n";
    uint32_t tick = 2147483000u;
    for (const plat::Message& m : messages) {
        text += plat::FormatScriptLine(m, tick) + "\n";
        tick += 10;
    }
    EXPECT_TRUE(plat::FormatScriptLine({plat::kMsgTimer, 15000, 0}, 5).empty());
    EXPECT_TRUE(plat::FormatScriptLine({plat::kMsgChar, '!', 0}, 5).empty());
    plat::Script script;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(text, script, error)) << error << "\n" << text;
    EXPECT_EQ(script.startTick, 4294967290u);
    EXPECT_EQ(script.options, std::vector<std::string>{"hunt"});
    const std::vector<plat::ScriptAction>& a = script.actions;
    ASSERT_EQ(a.size(), std::size(messages));
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].tick, 2147483000u + i * 10);
        EXPECT_EQ(a[i].message.id, messages[i].id) << i;
        EXPECT_EQ(a[i].message.wParam, messages[i].wParam) << i;
        EXPECT_EQ(a[i].message.lParam, messages[i].lParam) << i;
    }
}

}  // namespace
