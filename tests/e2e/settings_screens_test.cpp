// The real program, headless: what the player set is stored and survives restarts, closes and kills.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/e2e/game_run.h"

namespace {

namespace fs = std::filesystem;

// Scripts in the landscape picture's points. Start to menu: skip the introduction, leave the title.
const char* kToMenu = "300 tap 10 200\n+800 tap 160 120\n+2500 shot menu\n";

// Options, name entry and high scores; turns the menu animation off.
const char* kSettingsTour =
    // options: drag the music thumb down to 34, page the effects down, flip both switches, OK
    "+100 tap 259 77\n+600 shot options\n"
    "+100 down 259 80\n+100 move 230 80\n+100 move 200 80\n+100 up 200 80\n"
    "+100 tap 130 119\n+100 tap 276 157\n+100 tap 153 157\n+300 shot options_changed\n+100 tap 158 213\n"
    // name entry: A, K, 2, OK
    "+800 tap 79 215\n+600 shot name_entry\n+100 tap 22 69\n+100 tap 56 103\n+100 tap 56 176\n+300 shot name_typed\n"
    "+100 tap 270 216\n+800 shot menu_named\n"
    // scores: statistics, table, clear answered no, then yes, back
    "+100 tap 269 123\n+600 shot scores\n+100 tap 101 213\n+400 shot statistics\n+100 tap 101 213\n"
    "+400 tap 204 213\n+400 shot popup\n+100 down 192 149\n+200 shot popup_no_pressed\n+100 up 192 149\n"
    "+400 tap 204 213\n+300 tap 109 149\n+400 shot cleared\n+100 tap 284 213\n+800 shot menu_after_scores\n";

// How to play: every page, the about popup and the credits, then OK.
const char* kHelpTour =
    "+100 tap 279 165\n+300 shot help_1\n"
    "+100 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n"  // next page, five times
    "+300 shot help_6\n+100 tap 291 155\n"                     // at the last page: only the click
    "+300 tap 59 210\n+300 shot about\n+100 press return\n"    // about: keys leave it open
    "+100 tap 10 10\n+300 shot help_again\n"
    "+100 tap 189 210\n+4000 shot credits\n+100 tap 300 230\n"  // credits
    "+300 tap 289 210\n+1000 shot menu_again\n";                // OK
const char* kQuitFromMenu = "+100 tap 279 210\n";

using SettingsScreens = e2e::RunTest;

// Every screen but the hunt's, from the start to the menu's quit button.
TEST_F(SettingsScreens, WhatThePlayerSetIsStoredAndKeptAcrossARestart) {
    const fs::path dir = root_ / "tour";
    const std::string script = std::string(kToMenu) + kSettingsTour + kHelpTour + kQuitFromMenu;
    ASSERT_EQ(e2e::RunGame(dir, script), 0) << e2e::ReadFile(dir / "stderr.txt");
    EXPECT_EQ(e2e::Switches(dir), (std::vector<std::string>{"0>12", "12>14", "14>0", "0>10+", "10>0", "0>4+", "4>0", "0>7+",
                                                       "7>0", "0>3+", "3>8+", "8>3", "3>11+", "11>3", "3>0"}));
    // Each new music value restarts the menu music, after the one start from the title.
    const std::vector<std::string> sounds = e2e::Sounds(dir);
    ASSERT_GE(sounds.size(), 2u);
    EXPECT_EQ(sounds[0] + " " + sounds[1], "stop 535 music loop");
    size_t restarts = 0;
    for (size_t i = 1; i < sounds.size(); ++i) restarts += sounds[i - 1] == "stop" && sounds[i] == "535 music loop";
    EXPECT_GE(restarts, 3u);
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), "538"), sounds.end());
    EXPECT_TRUE(e2e::TraceEvents(dir, "exit").size() == 1u && e2e::TraceEvents(dir, "message_box").empty());
    for (const char* shot : {"menu", "options", "options_changed", "name_entry", "name_typed", "menu_named", "scores",
                             "statistics", "popup", "popup_no_pressed", "cleared", "menu_after_scores", "help_1",
                             "help_6", "about", "help_again", "credits", "menu_again"}) {
        EXPECT_GT(e2e::ReadFile(dir / (std::string(shot) + ".png")).size(), 1000u) << shot;
    }
    EXPECT_NE(e2e::ReadFile(dir / "popup.png"), e2e::ReadFile(dir / "popup_no_pressed.png"));

    EXPECT_EQ(e2e::Stored(dir, "UserName", true), "AK2");
    EXPECT_EQ(e2e::Stored(dir, "MusicVol") + " " + e2e::Stored(dir, "MenuAnimation") + " " + e2e::Stored(dir, "SpecialEffects"), "34 0 0");
    const int soundVol = std::stoi(e2e::Stored(dir, "SoundVol"));
    EXPECT_TRUE(soundVol < 64 && (64 - soundVol) % 6 == 0) << soundVol;

    // Restarted: the options show what was set; a new name is saved though the window closes on a question.
    ASSERT_EQ(e2e::RunGame(dir, std::string(kToMenu) + "+100 tap 259 77\n+600 shot options_again\n+100 tap 158 213\n"
                                "+800 tap 79 215\n+600 tap 124 69\n+100 tap 22 176\n+100 tap 270 216\n"  // name entry: D, 1, OK
                                "+800 tap 269 123\n+600 tap 204 213\n+400 quit\n"),                        // scores, clear
              0);
    EXPECT_EQ(e2e::ReadFile(dir / "options_again.png"), e2e::ReadFile(dir / "options_changed.png"));
    EXPECT_TRUE(e2e::Switches(dir).back() == "0>7+" && e2e::TraceEvents(dir, "exit").size() == 1u && e2e::Stored(dir, "UserName", true) == "D1");
}

// A typed name, then a hunt of shots and reloads, with every pause screen visited and left back into it.
std::string HuntScript() {
    std::string script = std::string(kToMenu) +
                         "+100 tap 79 215\n"
                         "+600 char h\n+100 char u\n+100 char n\n+100 char t\n+100 char enter\n"
                         "+800 tap 249 31\n"
                         "+3000 shot hunt\n";
    int shots = 0;
    for (int round = 0; round < 4; ++round) {
        for (int y = 40; y <= 200; y += 40) {
            for (int x = 40; x <= 280; x += 60) {
                script += "+250 tap " + std::to_string(x) + " " + std::to_string(y) + "\n";
                if (++shots % 7 == 0) script += "+100 button 3\n";
            }
        }
    }
    // The first pause from the corner, resume pressed and slid off to the exit.
    script +=
        "+100 tap 5 235\n+1200 shot pause\n"
        "+100 down 49 215\n+100 shot pause_resume_pressed\n+100 move 49 186\n+100 up 49 186\n"
        "+100 tap 49 126\n+700 shot pause_scores\n+100 tap 284 213\n"      // scores, back
        "+1000 char escape\n+1200 tap 49 98\n+700 shot pause_options\n"
        "+100 tap 158 213\n"                                                  // options, OK
        "+1000 char escape\n+1200 tap 49 158\n+700 shot pause_help\n"
        "+100 tap 289 210\n"                                                  // help, OK
        "+1000 char escape\n+1200 tap 49 215\n+1000 shot resumed\n";         // resume
    return script;
}

// The ticks of the trace's events of one kind.
std::vector<uint64_t> Ticks(const std::vector<std::string>& lines) {
    std::vector<uint64_t> out;
    for (const std::string& line : lines) out.push_back(std::stoull(line.substr(line.find("\"tick\":") + 7)));
    return out;
}

TEST_F(SettingsScreens, AHuntWithEveryPauseScreenEndsInTheTableUnderTheTypedName) {
    const fs::path dir = root_ / "hunt";
    const std::string script = HuntScript() +
                               "+180000 shot results\n"
                               "+100 tap 101 213\n+500 shot results_statistics\n"
                               "+100 char escape\n+1000 shot menu_after_hunt\n" + kQuitFromMenu;
    ASSERT_EQ(e2e::RunGame(dir, script), 0) << e2e::ReadFile(dir / "stderr.txt");
    const std::vector<std::string> switches = e2e::Switches(dir);
    EXPECT_EQ(switches, (std::vector<std::string>{"0>12", "12>14", "14>0", "0>4+", "4>0", "0>1+", "1>5+", "5>7",
                                                  "7>1", "1>5+", "5>10", "10>1", "1>5+", "5>3", "3>1", "1>5+",
                                                  "5>1", "1>7", "7>0"}));

    // The hunt's clock stood still while the pause menu and its screens were open.
    const std::vector<uint64_t> at = Ticks(e2e::TraceEvents(dir, "view"));
    uint64_t suspended = 0;
    uint64_t pausedAt = 0;
    for (size_t i = 0; i < switches.size(); ++i) {
        if (switches[i] == "1>5+") pausedAt = at[i];
        if (switches[i].ends_with(">1") && pausedAt != 0) {
            suspended += at[i] - pausedAt;
            pausedAt = 0;
        }
    }
    const std::vector<std::string> ends = e2e::TraceEvents(dir, "hunt_end");
    ASSERT_EQ(ends.size(), 1u);
    const uint64_t started = at[5];
    const uint64_t played = Ticks(ends)[0] - started - suspended;
    EXPECT_TRUE(played >= 180000u && played < 186000u) << played;

    const std::string& end = ends[0];
    const int32_t score = std::stoi(end.substr(end.find("\"score\":") + 8));
    ASSERT_GT(score, 0) << "the spray of shots hit nothing";
    EXPECT_EQ(e2e::StoredTable(dir), std::to_string(score) + ":HUNT*");
    // The pause menu plays the menu music; every screen left back into the hunt brings the ambience back.
    const std::vector<std::string> story = e2e::Story(dir);
    const auto runs = [&](const std::vector<std::string>& run) {
        size_t n = 0;
        for (auto from = story.begin(); (from = std::search(from, story.end(), run.begin(), run.end())) != story.end(); ++from) ++n;
        return n;
    };
    EXPECT_EQ(runs({"stop", "535 music loop", "1>5+"}), 4u);
    for (const char* back : {"7>1", "10>1", "3>1"}) EXPECT_EQ(runs({back, "stop", "537 music loop"}), 1u) << back;
    EXPECT_EQ(runs({"stop", "537 music loop", "540", "5>1"}), 1u);
    EXPECT_NE(e2e::ReadFile(dir / "pause.png"), e2e::ReadFile(dir / "pause_resume_pressed.png"));
    for (const char* shot : {"hunt", "pause", "pause_scores", "pause_options", "pause_help", "resumed", "results",
                             "results_statistics", "menu_after_hunt"}) {
        EXPECT_GT(e2e::ReadFile(dir / (std::string(shot) + ".png")).size(), 1000u) << shot;
    }

    // Closed during the farewell picture, before the results screen: the score is stored all the same.
    const fs::path closed = root_ / "closed";
    ASSERT_EQ(e2e::RunGame(closed, HuntScript() + std::to_string(Ticks(ends)[0] + 500) + " quit\n"), 0);
    EXPECT_EQ(e2e::Switches(closed).back() + " " + e2e::StoredTable(closed), "5>1 " + std::to_string(score) + ":HUNT*");
}

// Killed on the high-score screen (its screenshot's pipe says when): name and score were stored as made.
TEST_F(SettingsScreens, AKillOnTheHighScoreScreenKeepsTheNameAndTheScore) {
    const fs::path dir = root_ / "killed";
    fs::create_directories(dir);
    ASSERT_EQ(::mkfifo((dir / "results.png").c_str(), 0600), 0);
    const int pipe = ::open((dir / "results.png").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(pipe, 0);
    const pid_t game = e2e::StartGame(dir, HuntScript() + "+180000 shot results\n+3600000 quit\n");
    ASSERT_GT(game, 0);
    int status = 0;
    pollfd shot{pipe, POLLIN, 0};
    for (int waited = 0; waited < 600; ++waited) {
        if (::poll(&shot, 1, 100) > 0 && (shot.revents & POLLIN) != 0) break;
        if ((shot.revents & POLLHUP) != 0) ::usleep(100000);  // no writer yet: the pipe says so at once
        if (::waitpid(game, &status, WNOHANG) == game) break;
    }
    ::kill(game, SIGKILL);
    ::waitpid(game, &status, 0);
    ::close(pipe);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << e2e::ReadFile(dir / "stderr.txt");

    EXPECT_EQ(e2e::Stored(dir, "UserName", true), "HUNT");
    const std::string table = e2e::StoredTable(dir);
    EXPECT_TRUE(table.substr(table.find(':')) == ":HUNT*" && std::stoi(table) > 0) << table;
}

}  // namespace
