// Scripts for the headless runner and the lines a recording writes.
#include <gtest/gtest.h>

#include "platform/core/panel_image.h"
#include "platform/core/script.h"

namespace {

uint32_t Pen(int32_t panelX, int32_t panelY) {
    return static_cast<uint32_t>(panelX) | (static_cast<uint32_t>(panelY) << 16);
}

TEST(PanelView, CornersTurnAQuarterClockwise) {
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
    std::vector<plat::ScriptAction> a;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(text, a, error)) << error;
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
        {"100 shot ../x\n", "not a path"},
        {"100 fly\n", "unknown action 'fly'"},
    };
    for (const Case& c : cases) {
        std::vector<plat::ScriptAction> a;
        std::string error;
        EXPECT_FALSE(plat::ParseScript(c.text, a, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << " gave: " << error;
    }
}

TEST(Script, RecordedLinesReplayTheSameMessages) {
    const plat::Message messages[] = {
        {plat::kMsgPenDown, 0, Pen(0, 0)},       {plat::kMsgPenMove, 0, Pen(239, 319)},
        {plat::kMsgPenUp, 0, Pen(120, 7)},       {plat::kMsgKeyDown, plat::kVkReturn, 0},
        {plat::kMsgKeyUp, plat::kVkRight, 0},    {plat::kMsgHotKey, 0xC1, 0},
    };
    std::string script;
    uint32_t tick = 0;
    for (const plat::Message& m : messages) {
        script += plat::FormatScriptLine(m, tick) + "\n";
        tick += 10;
    }
    EXPECT_TRUE(plat::FormatScriptLine({plat::kMsgTimer, 15000, 0}, 5).empty());
    std::vector<plat::ScriptAction> a;
    std::string error;
    ASSERT_TRUE(plat::ParseScript(script, a, error)) << error << "\n" << script;
    ASSERT_EQ(a.size(), std::size(messages));
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].tick, i * 10);
        EXPECT_EQ(a[i].message.id, messages[i].id) << i;
        EXPECT_EQ(a[i].message.wParam, messages[i].wParam) << i;
        EXPECT_EQ(a[i].message.lParam, messages[i].lParam) << i;
    }
}

}  // namespace
