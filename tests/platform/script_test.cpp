// Scripts for the headless runner and the lines a recording writes.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "platform/core/panel_image.h"
#include "platform/core/script.h"

namespace {

uint32_t Pen(int32_t panelX, int32_t panelY) { return static_cast<uint32_t>(panelX) | (static_cast<uint32_t>(panelY) << 16); }

// Each action as (tick, kind, message id, wParam, lParam), a shot's name aside.
using Action = std::tuple<uint32_t, int, uint32_t, uint32_t, uint32_t>;
std::vector<Action> Parse(const std::string& text, plat::Script& script) {
    std::string error;
    EXPECT_TRUE(plat::ParseScript(text, script, error)) << error << "\n" << text;
    std::vector<Action> out;
    for (const plat::ScriptAction& a : script.actions) out.emplace_back(a.tick, a.kind, a.message.id, a.message.wParam, a.message.lParam);
    return out;
}
constexpr int kPost = plat::ScriptAction::kPost;

// What the parser says of `text`: its error, or "ok".
std::string Complaint(const std::string& text) {
    plat::Script script;
    std::string error;
    return plat::ParseScript(text, script, error) ? "ok" : error;
}

TEST(PanelView, CornersTurnAQuarterClockwiseAndSoDoesTheWholePicture) {
    // The panel's top-left corner shows at the player's top right.
    EXPECT_EQ((std::vector<int32_t>{plat::PanelToView({0, 0}).x, plat::PanelToView({0, 0}).y, plat::PanelToView({239, 319}).x,
                                    plat::PanelToView({239, 319}).y}), (std::vector<int32_t>{319, 0, 0, 239}));
    std::vector<uint16_t> panel(240 * 320), view(320 * 240, 0);
    for (size_t i = 0; i < panel.size(); ++i) panel[i] = static_cast<uint16_t>(i * 7 + 1);
    plat::RotatePanelToView(panel.data(), view.data());
    for (int32_t y = 0; y < 240; ++y) {
        for (int32_t x = 0; x < 320; ++x) {
            const plat::Point p = plat::ViewToPanel({x, y});
            ASSERT_EQ(std::pair(plat::PanelToView(p).x, plat::PanelToView(p).y), std::pair(x, y));
            ASSERT_EQ(view[y * 320 + x], panel[p.y * 240 + p.x]) << x << "," << y;
        }
    }
}

TEST(Script, TimesActionsAndReleasesInOrderAndReachTheWholeTickRange) {
    plat::Script script;
    EXPECT_EQ(Parse("# a comment line\n"
                    "100 tap 10 20   # view coordinates\n"
                    "+20 press left\n"
                    "+100 button 3\n"
                    "400 shot menu\n"
                    "\n"
                    "+0 quit\n",
                    script),
              (std::vector<Action>{{100, kPost, plat::kMsgPenDown, 0, Pen(20, 309)},
                                   {120, kPost, plat::kMsgKeyDown, plat::kVkDown, 0},  // the player's left is the panel's down
                                   {150, kPost, plat::kMsgPenUp, 0, Pen(20, 309)},
                                   {170, kPost, plat::kMsgKeyUp, plat::kVkDown, 0},
                                   {220, kPost, plat::kMsgHotKey, 0xC3, 0},
                                   {270, kPost, plat::kMsgKeyUp, 0xC3, 0},
                                   {400, plat::ScriptAction::kShot, 0, 0, 0},
                                   {400, plat::ScriptAction::kQuit, 0, 0, 0}}));
    EXPECT_EQ(script.startTick, 0u);
    EXPECT_EQ(script.actions[6].name, "menu");
    // Relative times count from the start of the run; a release at the last tick still sorts after its press.
    plat::Script wide;
    EXPECT_EQ(Parse("start 4294967000\n+100 keydown left\n2147483648 keyup left\n+2147483597 tap 10 10\n4294967295 quit\n", wide),
              (std::vector<Action>{{100, kPost, plat::kMsgKeyDown, plat::kVkDown, 0},
                                   {2147483648u, kPost, plat::kMsgKeyUp, plat::kVkDown, 0},
                                   {4294967245u, kPost, plat::kMsgPenDown, 0, Pen(10, 309)},
                                   {4294967295u, kPost, plat::kMsgPenUp, 0, Pen(10, 309)},
                                   {4294967295u, plat::ScriptAction::kQuit, 0, 0, 0}}));
    EXPECT_EQ(wide.startTick, 4294967000u);
}

TEST(Script, FaultsNameTheirLineAndScreenshotNamesStayInTheShotsFolder) {
    const std::pair<const char*, const char*> cases[] = {
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
    for (const auto& [text, expected] : cases) EXPECT_NE(Complaint(text).find(expected), std::string::npos) << text << " gave: " << Complaint(text);
    for (const char* name : {"menu", "hunt-2.final", "A_b0z9"}) EXPECT_EQ(Complaint(std::string("10 shot ") + name + "\n"), "ok");
    for (const std::string& name : std::vector<std::string>{"../x", "a/b", "a\\b", "..", ".hidden", "-rf", std::string("a\0b", 3), std::string("caf\xc3\xa9")})
        EXPECT_EQ(Complaint("\n10 shot " + name + "\n").rfind("line 2: a screenshot name", 0), 0u) << name << " gave: " << Complaint("\n10 shot " + name + "\n");
}

TEST(Script, RecordedLinesReplayTheSameMessages) {
    const plat::Message messages[] = {
        {plat::kMsgPenDown, 0, Pen(0, 0)}, {plat::kMsgPenMove, 0, Pen(239, 319)}, {plat::kMsgPenUp, 0, Pen(120, 7)},
        {plat::kMsgKeyDown, plat::kVkReturn, 0}, {plat::kMsgKeyUp, plat::kVkRight, 0}, {plat::kMsgHotKey, 0xC1, 0},
        {plat::kMsgChar, 'a', 0}, {plat::kMsgChar, 'Z', 0}, {plat::kMsgChar, '7', 0}, {plat::kMsgChar, 0x08, 0},
        {plat::kMsgChar, 0x0D, 0}, {plat::kMsgChar, 0x1B, 0}, {plat::kMsgFocusLost, 0, 0},
    };
    // A recording that began just before the tick counter wrapped, running past 2^31 ms.
    std::string text = plat::FormatStartLines(4294967290u, {"hunt"}) + "\n";
    std::vector<Action> expected;
    uint32_t tick = 2147483000u;
    for (const plat::Message& m : messages) {
        text += plat::FormatScriptLine(m, tick) + "\n";
        expected.emplace_back(tick, kPost, m.id, m.wParam, m.lParam);
        tick += 10;
    }
    EXPECT_TRUE(plat::FormatScriptLine({plat::kMsgTimer, 15000, 0}, 5).empty());
    EXPECT_TRUE(plat::FormatScriptLine({plat::kMsgChar, '!', 0}, 5).empty());
    plat::Script script;
    EXPECT_EQ(Parse(text, script), expected);
    EXPECT_EQ(script.startTick, 4294967290u);
    EXPECT_EQ(script.options, std::vector<std::string>{"hunt"});
}

}  // namespace
