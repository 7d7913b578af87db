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

    // The view switches and the sounds in the order they happened: "1>5+"
    // (from, to, "+" when pushed), "stop", "535 music loop", "540".
    static std::vector<std::string> Story(const fs::path& dir) {
        std::vector<std::string> out;
        std::istringstream in(ReadFile(dir / "trace.jsonl"));
        const auto field = [](const std::string& line, const std::string& name) {
            const size_t at = line.find("\"" + name + "\":") + name.size() + 3;
            return line.substr(at, line.find_first_of(",}", at) - at);
        };
        for (std::string line; std::getline(in, line);) {
            if (line.find("\"event\":\"view\"") != std::string::npos) {
                out.push_back(field(line, "from") + ">" + field(line, "to") + (field(line, "push") == "true" ? "+" : ""));
            } else if (line.find("\"stop\":true") != std::string::npos) {
                out.push_back("stop");
            } else if (line.find("\"event\":\"sound\"") != std::string::npos) {
                out.push_back(field(line, "id") + (field(line, "music") == "true" ? " music" : "") +
                              (field(line, "loop") == "true" ? " loop" : ""));
            }
        }
        return out;
    }
    // How often `run` stands in `story` as consecutive entries.
    static size_t Runs(const std::vector<std::string>& story, const std::vector<std::string>& run) {
        size_t n = 0;
        for (auto at = story.begin(); (at = std::search(at, story.end(), run.begin(), run.end())) != story.end(); ++at) ++n;
        return n;
    }
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

TEST_F(ScreensRun, APausedHuntVisitsEveryScreenOfThePauseMenuAndEnds) {
    const fs::path dir = root_ / "pause";
    ASSERT_EQ(RunGame(dir, std::string(kToMenu) + kPauseTour + kQuitFromMenu), 0) << ReadFile(dir / "stderr.txt");
    // The scores, the options and the help are opened without a push, so
    // that leaving them returns to the hunt; ending the hunt opens the menu.
    EXPECT_EQ(Switches(dir), (std::vector<std::string>{"0>12", "12>14", "14>0", "0>1+", "1>5+", "5>7", "7>1", "1>5+",
                                                       "5>10", "10>1", "1>5+", "5>3", "3>1", "1>5+", "5>1", "1>5+",
                                                       "5>0+"}));
    const std::vector<std::string> story = Story(dir);
    // The pause corner starts the menu music each time; a screen left back into
    // the hunt brings the ambience back; so do Escape and the end of the hunt,
    // with their clicks.
    EXPECT_EQ(Runs(story, {"stop", "535 music loop", "1>5+"}), 5u);
    for (const char* screen : {"7>1", "10>1", "3>1"}) {
        EXPECT_EQ(Runs(story, {screen, "stop", "537 music loop"}), 1u) << screen;
    }
    EXPECT_EQ(Runs(story, {"stop", "537 music loop", "540", "5>1"}), 1u);
    EXPECT_EQ(Runs(story, {"578", "stop", "535 music loop", "540", "5>0+"}), 1u);
    const std::vector<std::string> sounds = TraceEvents(dir, "sound");
    // The click of the scores, options, help, resume and exit buttons, and of the three screens' own buttons.
    EXPECT_GE(Count(sounds, "\"id\":540"), 8u);
    EXPECT_TRUE(TraceEvents(dir, "message_box").empty());

    // Pressed and slid off: nothing happened, the pause menu stayed.
    EXPECT_NE(ReadFile(dir / "pause.png"), ReadFile(dir / "pause_resume_pressed.png"));
    EXPECT_NE(ReadFile(dir / "hunt.png"), ReadFile(dir / "pause.png"));
    EXPECT_NE(ReadFile(dir / "pause_sliding.png"), ReadFile(dir / "pause.png"));
    for (const char* name : {"scores_from_hunt", "hunt_after_scores", "options_from_hunt", "help_from_hunt",
                             "hunt_resumed", "menu_after_hunt"}) {
        EXPECT_GT(ReadFile(dir / (std::string(name) + ".png")).size(), 1000u) << name;
    }
}

}  // namespace
