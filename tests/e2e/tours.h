// Scripted walks through the screens, to be put together into runs. Points
// are in the landscape picture the player sees; each walk starts and ends on
// the main menu with its slide finished, except the first, which gets there.
#pragma once

namespace e2e {

// From the start to the main menu: skip the introduction, leave the title.
inline const char* kToMenu = "300 tap 10 200\n+800 tap 160 120\n+2500 shot menu\n";

// Options, name entry and high scores; turns the menu animation off.
inline const char* kSettingsTour =
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
inline const char* kHelpTour =
    "+100 tap 279 165\n+300 shot help_1\n"
    "+100 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n+300 tap 291 155\n"  // next page, five times
    "+300 shot help_6\n+100 tap 291 155\n"                     // at the last page: only the click
    "+300 tap 59 210\n+300 shot about\n+100 press return\n"    // about: keys leave it open
    "+100 tap 10 10\n+300 shot help_again\n"
    "+100 tap 189 210\n+4000 shot credits\n+100 tap 300 230\n"  // credits
    "+300 tap 289 210\n+1000 shot menu_again\n";                // OK

// The menu's quit button.
inline const char* kQuitFromMenu = "+100 tap 279 210\n";

}  // namespace e2e
