// The real program through the start-up screens, the menu and the help
// screens to the menu's quit button, checked by its view and sound trace and
// by a screenshot of every screen it passes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

#include "game_run.h"
#include "tours.h"

namespace {

using namespace e2e;

class ScreensRun : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("reedshot-screens-" + std::to_string(::getpid()));
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    static size_t Count(const std::vector<std::string>& lines, const std::string& part) {
        return static_cast<size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find(part) != std::string::npos;
        }));
    }

    fs::path root_;
};

// The introduction and the title at their own pace, then the help screens.
const std::string kTour = std::string(
                              "1000 shot request\n"
                              "+2600 shot logo\n"
                              "4600 shot title\n"
                              "+100 tap 160 120\n"
                              "+1000 shot menu\n") +
                          kHelpTour + kQuitFromMenu;

TEST_F(ScreensRun, StartUpTitleMenuAndHelpScreensToQuit) {
    const fs::path dir = root_ / "tour";
    ASSERT_EQ(RunGame(dir, kTour), 0) << ReadFile(dir / "stderr.txt");

    EXPECT_EQ(Switches(dir), (std::vector<std::string>{"0>12", "12>14", "14>0", "0>3+", "3>8+", "8>3", "3>11+", "11>3",
                                                       "3>0"}));
    const std::vector<std::string> sounds = TraceEvents(dir, "sound");
    // The menu music starts once, after everything stopped, when the title opens the menu.
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_NE(sounds[0].find("\"stop\":true"), std::string::npos);
    EXPECT_NE(sounds[1].find("\"id\":535,\"music\":true,\"loop\":true"), std::string::npos);
    EXPECT_EQ(Count(sounds, "\"id\":535"), 1u);
    // Five page turns and the about popup opened and closed.
    EXPECT_EQ(Count(sounds, "\"id\":578"), 7u);
    // help, five pages, the last page, about, credits, OK and quit.
    EXPECT_EQ(Count(sounds, "\"id\":540"), 11u);

    // The program ended through the quit button, before the script ran out.
    const std::vector<std::string> exits = TraceEvents(dir, "exit");
    ASSERT_EQ(exits.size(), 1u);
    EXPECT_TRUE(TraceEvents(dir, "message_box").empty());

    const char* shots[] = {"request", "logo", "title", "menu", "help_1", "help_6", "about", "help_again", "credits"};
    std::string previous;
    for (const char* name : shots) {
        const std::string png = ReadFile(dir / (std::string(name) + ".png"));
        ASSERT_GT(png.size(), 1000u) << name;
        EXPECT_NE(png, previous) << name << " shows the same as the screen before";
        previous = png;
    }
    // Back on the menu the same picture as the first time.
    EXPECT_EQ(ReadFile(dir / "menu.png"), ReadFile(dir / "menu_again.png"));
    EXPECT_EQ(ReadFile(dir / "help_1.png"), ReadFile(dir / "help_again.png"));
}

TEST_F(ScreensRun, SkipAndATapGoStraightToTheMenu) {
    const fs::path dir = root_ / "skip";
    ASSERT_EQ(RunGame(dir, "300 tap 10 203\n+100 tap 100 100\n+1000 shot menu\n+100 quit\n"), 0)
        << ReadFile(dir / "stderr.txt");
    EXPECT_EQ(Switches(dir), (std::vector<std::string>{"0>12", "12>14", "14>0"}));
}

}  // namespace
