#include "platform/headless/monkey_host.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/core/panel_image.h"
#include "platform/core/script.h"
#include "platform/core/start_options.h"

namespace plat {

namespace {

// Real time one event may hold the program before the watchdog ends the run.
constexpr auto kEventLimit = std::chrono::seconds(60);
// Messages handed out at one tick before virtual time counts as stopped.
constexpr uint64_t kStuckDeliveries = 100000;

constexpr uint32_t kQuitMarker = 0;  // a queued "message" that ends the run

struct Spot {
    int16_t x, y;
};

// The buttons of each screen, as the player sees them, by view number.
constexpr Spot kMenuSpots[] = {{243, 31}, {259, 77}, {269, 123}, {279, 165}, {79, 215}};
constexpr Spot kHuntSpots[] = {{5, 235}};  // the pause corner
constexpr Spot kHelpSpots[] = {{291, 155}, {291, 155}, {59, 210}, {189, 210}, {289, 210}};
constexpr Spot kNameSpots[] = {{22, 69}, {56, 103}, {56, 176}, {120, 140}, {270, 216}};
constexpr Spot kPauseSpots[] = {{49, 215}, {49, 126}, {49, 98}, {49, 158}, {49, 186}};
constexpr Spot kResultsSpots[] = {{269, 123}, {101, 213}, {204, 213}, {109, 149}, {284, 213}};
constexpr Spot kAboutSpots[] = {{10, 10}};
constexpr Spot kOptionsSpots[] = {{259, 77}, {130, 119}, {276, 157}, {153, 157}, {158, 213}};
constexpr Spot kCreditsSpots[] = {{300, 230}};
constexpr Spot kAnySpots[] = {{160, 120}, {10, 200}};  // leaves the introduction and the title

struct Screen {
    uint8_t view;
    const Spot* spots;
    size_t count;
};

template <size_t N>
constexpr Screen On(uint8_t view, const Spot (&spots)[N]) {
    return {view, spots, N};
}

constexpr Screen kScreens[] = {
    On(0, kMenuSpots),    On(1, kHuntSpots),     On(3, kHelpSpots),    On(4, kNameSpots),
    On(5, kPauseSpots),   On(7, kResultsSpots),  On(8, kAboutSpots),   On(10, kOptionsSpots),
    On(11, kCreditsSpots),
};

constexpr uint8_t kMenuView = 0, kHuntView = 1;

// The menu's quit button would end the soak before its hours.
bool OnQuitButton(uint8_t view, int32_t x, int32_t y) { return view == kMenuView && x >= 232 && y >= 188; }

constexpr uint32_t kKeys[] = {kVkLeft, kVkUp, kVkRight, kVkDown, kVkReturn};
constexpr char kTyped[] = "abcdefghijklmnopqrstuvwxyzAKQZ0123456789\x08\x08\x0D\x1B";

}  // namespace

MonkeyHost::MonkeyHost(uint32_t seed, double hours)
    : random_(seed), durationMs_(static_cast<uint32_t>(hours * 3600000.0)) {}

MonkeyHost::~MonkeyHost() {
    stop_ = true;
    if (watchdog_.joinable()) watchdog_.join();
}

void MonkeyHost::Begin(std::FILE* record) {
    record_ = record;
    startTick_ = Machine::Get().Tick();
    if (record_ != nullptr) {
        // Line by line, so a run that dies leaves its input behind whole.
        std::setvbuf(record_, nullptr, _IOLBF, 0);
        std::fprintf(record_, "%s\n", FormatStartLines(startTick_, GivenStartOptions()).c_str());
    }
    lastTick_ = startTick_;
    wallStart_ = lastEvent_ = std::chrono::steady_clock::now();
    watchdog_ = std::thread([this] { Watch(); });
}

uint32_t MonkeyHost::Range(uint32_t low, uint32_t high) {
    return low + static_cast<uint32_t>(random_() % (static_cast<uint64_t>(high) - low + 1));
}

bool MonkeyHost::Chance(uint32_t percent) { return Range(0, 99) < percent; }

uint32_t MonkeyHost::Elapsed() const { return Machine::Get().Tick() - startTick_; }

void MonkeyHost::Post(uint32_t id, uint32_t wParam, uint32_t lParam) {
    input_.push_back({planTick_, {id, wParam, lParam}});
}

void MonkeyHost::PlanPoint(uint32_t id, int32_t x, int32_t y) {
    Post(id, 0, PenParam(ViewToPanel({x, y})));
}

void MonkeyHost::PlanTap(int32_t x, int32_t y) {
    PlanPoint(kMsgPenDown, x, y);
    planTick_ += Chance(90) ? kPressMs : Range(100, 1500);
    PlanPoint(kMsgPenUp, x, y);
}

void MonkeyHost::PlanDrag() {
    int32_t x = static_cast<int32_t>(Range(0, kViewWidth - 1)), y = static_cast<int32_t>(Range(0, kViewHeight - 1));
    if (OnQuitButton(view_, x, y)) x -= 120;
    PlanPoint(kMsgPenDown, x, y);
    for (uint32_t moves = Range(1, 12); moves > 0; --moves) {
        planTick_ += Range(5, 120);
        // Held at the edge, as the window keeps the stylus on the panel.
        x = std::clamp(x + static_cast<int32_t>(Range(0, 80)) - 40, 0, kViewWidth - 1);
        y = std::clamp(y + static_cast<int32_t>(Range(0, 80)) - 40, 0, kViewHeight - 1);
        PlanPoint(kMsgPenMove, x, y);
    }
    planTick_ += Range(5, 200);
    if (OnQuitButton(view_, x, y)) x = 0;
    PlanPoint(kMsgPenUp, x, y);
}

void MonkeyHost::PlanHeld(uint32_t down, uint32_t code, uint32_t up) {
    Post(down, code, 0);
    planTick_ += Chance(70) ? kPressMs : Range(200, 4000);
    Post(up, code, 0);
}

void MonkeyHost::Plan() {
    if (planTick_ >= durationMs_) {
        Post(kQuitMarker, 0, 0);
        quitQueued_ = true;
        return;
    }
    PlanGesture();
    // Mostly quick play; now and then an idle spell lets a hunt run out and
    // idle screens move on by themselves.
    planTick_ += Chance(1) ? Range(5000, 60000) : Range(30, 900);
}

void MonkeyHost::PlanGesture() {
    const Screen* screen = nullptr;
    for (const Screen& s : kScreens) {
        if (s.view == view_) screen = &s;
    }
    // In the hunt most taps fire; the pause corner comes now and then.
    const bool hunting = view_ == kHuntView;
    const uint32_t roll = Range(0, 99);
    if (roll < (hunting ? 2u : 30u)) {
        const Spot spot = screen != nullptr && Chance(85) ? screen->spots[Range(0, static_cast<uint32_t>(screen->count) - 1)]
                                                          : kAnySpots[Range(0, static_cast<uint32_t>(std::size(kAnySpots)) - 1)];
        PlanTap(spot.x + static_cast<int32_t>(Range(0, 6)) - 3, spot.y + static_cast<int32_t>(Range(0, 6)) - 3);
    } else if (roll < 60) {
        int32_t x = static_cast<int32_t>(Range(0, kViewWidth - 1)), y = static_cast<int32_t>(Range(0, kViewHeight - 1));
        if (OnQuitButton(view_, x, y)) y -= 100;
        PlanTap(x, y);
    } else if (roll < 68) {
        PlanDrag();
    } else if (roll < 77) {
        PlanHeld(kMsgKeyDown, kKeys[Range(0, static_cast<uint32_t>(std::size(kKeys)) - 1)], kMsgKeyUp);
    } else if (roll < 85) {
        PlanHeld(kMsgHotKey, kVkHardware1 + Range(0, 3), kMsgKeyUp);
    } else if (roll < 93) {
        Post(kMsgChar, static_cast<unsigned char>(kTyped[Range(0, sizeof kTyped - 2)]), 0);
    } else if (roll < 95) {
        Post(kMsgFocusLost, 0, 0);
    } else {
        // Keys the game has no use for, and characters it does not expect.
        if (Chance(50)) {
            PlanHeld(kMsgKeyDown, Range(1, 0xFE), kMsgKeyUp);
        } else {
            Post(kMsgChar, Range(0, 0xFFFF), 0);
        }
    }
}

bool MonkeyHost::Before(uint32_t elapsed, uint32_t dueTick) const {
    return static_cast<int32_t>(startTick_ + elapsed - dueTick) < 0;
}

bool MonkeyHost::InputBefore(uint32_t dueTick) const {
    if (input_.empty()) return !quitQueued_ && Before(planTick_, dueTick);
    return Before(input_.front().tick, dueTick);
}

void MonkeyHost::WaitFor(uint32_t dueTick) {
    Machine& machine = Machine::Get();
    if (!InputBefore(dueTick)) return;
    if (input_.empty()) {
        // A gesture is chosen when it starts, for the screen on show then.
        machine.AdvanceTo(startTick_ + planTick_);
        Plan();
    }
    const Timed next = input_.front();
    input_.pop_front();
    machine.AdvanceTo(startTick_ + next.tick);
    if (next.message.id == kQuitMarker) {
        if (record_ != nullptr) std::fprintf(record_, "%u quit\n", next.tick);
        quitPosted_ = true;
        machine.End();
        return;
    }
    machine.Post(next.message);
    ++posted_;
    if (record_ == nullptr) return;
    // Characters a script cannot carry are left out of the recording.
    const std::string line = FormatScriptLine(next.message, next.tick);
    if (!line.empty()) std::fprintf(record_, "%s\n", line.c_str());
}

// A gesture under way goes on while the program sleeps; the next one waits
// for it to wake, as a player waits for the screen to come back.
void MonkeyHost::SleepUntil(uint32_t dueTick) {
    while (!Machine::Get().Ended() && !input_.empty() && InputBefore(dueTick)) WaitFor(dueTick);
    if (Before(planTick_, dueTick)) planTick_ = dueTick - startTick_;
}

void MonkeyHost::ShowMessageBox(const char* text, const char* caption, uint32_t /*flags*/) {
    std::fprintf(stderr, "reedshot: [%s] %s\n", caption != nullptr ? caption : "Error", text);
    ++boxes_;
}

void MonkeyHost::Delivering(const Message& /*message*/, uint32_t tick) {
    ++delivered_;
    const auto now = std::chrono::steady_clock::now();
    worstEventMs_ = std::max(worstEventMs_, std::chrono::duration<double, std::milli>(now - lastEvent_).count());
    lastEvent_ = now;
    watchedTick_ = tick;
    ++beats_;
    sameTickRun_ = tick == lastTick_ ? sameTickRun_ + 1 : 0;
    lastTick_ = tick;
    if (sameTickRun_ > kStuckDeliveries) {
        std::fprintf(stderr, "reedshot: watchdog: virtual time stopped at tick %u (%llu messages)\n", tick,
                     static_cast<unsigned long long>(sameTickRun_));
        std::_Exit(3);
    }
}

void MonkeyHost::Traced(const char* event, const char* fields) {
    if (std::strcmp(event, "hunt_end") == 0) ++hunts_;
    if (std::strcmp(event, "view") != 0 || fields == nullptr) return;
    const char* to = std::strstr(fields, "\"to\":");
    if (to == nullptr) return;
    view_ = static_cast<uint8_t>(std::strtoul(to + 5, nullptr, 10));
    viewsSeen_[view_] = true;
    ++switches_;
}

// Runs on its own thread: the program must keep taking events in real time.
void MonkeyHost::Watch() {
    uint64_t seen = beats_;
    auto since = std::chrono::steady_clock::now();
    while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto now = std::chrono::steady_clock::now();
        if (const uint64_t beats = beats_; beats != seen) {
            seen = beats;
            since = now;
        } else if (now - since > kEventLimit) {
            std::fprintf(stderr, "reedshot: watchdog: one event has held the program for %lld s at tick %u\n",
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(now - since).count()),
                         watchedTick_.load());
            std::_Exit(3);
        }
    }
}

bool MonkeyHost::Finish(std::FILE* out) {
    stop_ = true;
    if (watchdog_.joinable()) watchdog_.join();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart_).count();
    std::string views;
    int visited = 0;
    for (int v = 0; v < 256; ++v) {
        if (!viewsSeen_[v]) continue;
        views += (visited++ == 0 ? "" : ",") + std::to_string(v);
    }
    std::fprintf(out,
                 "monkey: %.3f simulated hours, %llu inputs, %llu messages, %llu view switches, %d views visited (%s), "
                 "%llu hunts ended, %.1f s wall, worst event %.1f ms, %llu message boxes\n",
                 Elapsed() / 3600000.0, static_cast<unsigned long long>(posted_),
                 static_cast<unsigned long long>(delivered_), static_cast<unsigned long long>(switches_), visited,
                 views.c_str(), static_cast<unsigned long long>(hunts_), wall, worstEventMs_,
                 static_cast<unsigned long long>(boxes_));
    if (!quitPosted_) std::fprintf(out, "monkey: the program ended by itself before its hours\n");
    return quitPosted_ && boxes_ == 0;
}

}  // namespace plat
