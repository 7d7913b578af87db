// The browser: the panel on a canvas, mouse, touch and keys as stylus and
// keys, sound through Web Audio and the store kept in the browser's storage.
// The game runs in a worker the page starts, so that its waits and its work
// never hold up the page; the waits yield to the worker's own events
// (Asyncify), and every wait pumps sound and hands the store's changes on.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/core/machine.h"
#include "platform/core/panel_image.h"
#include "platform/core/start_options.h"
#include "platform/web/web_input.h"
#include "platform/web/web_wave_out.h"

// The page's side (platform/web/web_library.js).
extern "C" {
double reedshot_now_ms();
uint32_t reedshot_start_tick();
void reedshot_present(const uint8_t* rgba, int32_t width, const plat::ViewRect* parts, uint32_t count, int32_t lit);
double reedshot_audio_now();
int reedshot_audio_running();
void reedshot_audio_play(const uint8_t* data, uint32_t bytes, uint32_t channels, uint32_t rate, double when);
void reedshot_audio_stop();
void reedshot_store_change();
int reedshot_store_busy();
void reedshot_message_box(const char* text, const char* caption);
int reedshot_message_open();
void reedshot_stats(uint32_t ahead, uint32_t underruns);
void reedshot_ended();
int reedshot_page_hidden();
int reedshot_trace_wanted();
int reedshot_start_hunt();
void reedshot_set_pointer(int32_t crosshair);
}

namespace plat {

namespace {

constexpr uint32_t kMaxLagMs = 100;    // further behind, the clock goes on from now
constexpr uint32_t kRefreshMs = 16;    // at most one canvas update per display frame
constexpr uint32_t kMaxSleepMs = 10;   // the longest yield: sound is pumped at least this often
// A hidden page is silent and unseen: it wakes seldom and costs next to nothing.
constexpr uint32_t kHiddenSleepMs = 200;
constexpr uint32_t kStatsMs = 100;
constexpr uint32_t kPlayAgainPollMs = 200;
constexpr const char* kDataDir = "/data";

class BrowserAudio final : public AudioSink {
public:
    double Now() override { return reedshot_audio_now(); }
    bool Running() override { return reedshot_audio_running() != 0; }
    void Play(const uint8_t* data, uint32_t bytes, uint32_t channels, uint32_t rate, double when) override {
        reedshot_audio_play(data, bytes, channels, rate, when);
    }
    void StopAll() override { reedshot_audio_stop(); }
};

BrowserAudio g_audio;
WebWaveOut g_waveOut(g_audio);

class WebHost final : public Host {
public:
    WebHost() : input_(Machine::Get()) {}

    void Begin();
    void WaitFor(uint32_t dueTick) override { Wait(dueTick, true); }
    void SleepUntil(uint32_t dueTick) override { Wait(dueTick, false); }
    void CatchUp() override;
    uint32_t CreepFrom(uint32_t tick) override;
    void ShowMessageBox(const char* text, const char* caption, uint32_t flags) override;
    // Each tab plays on its own; there is no window to bring forward.
    bool ActivateRunningInstance(const char*, const char*) override { return false; }
    bool CreateMainWindow(const char*, const char*) override;
    void SetPointer(PointerShape shape) override { reedshot_set_pointer(shape == kPointerCrosshair ? 1 : 0); }
    void Finish();
    // After the game ends: returns when the player asks to play again.
    void AwaitPlayAgain();
    void PlayAgain() { playAgain_ = true; }
    // False when the game has already ended.
    bool Close();

    WebInput& Input() { return input_; }
    // A commit since the last look goes to the page, which copies the store.
    void PollStore();

private:
    uint32_t WallTick() const { return static_cast<uint32_t>(static_cast<uint64_t>(reedshot_now_ms())) - base_; }
    // Behind the wall clock by more than kMaxLagMs, the wall clock waits instead.
    void Rebase(uint32_t tick);
    void Wait(uint32_t dueTick, bool untilMessage);
    void Pump();
    // The whole panel, or only the parts that changed.
    void Refresh();
    void Refresh(const PanelRect* parts, uint32_t count);
    // Shows what presents changed; false when nothing did.
    bool RefreshChanges();

    WebInput input_;
    uint32_t base_ = 0;
    uint32_t lastRefresh_ = 0;
    uint32_t lastStats_ = 0;
    uint32_t storeCommits_ = 0;
    bool playAgain_ = false;
    bool awaiting_ = false;
    std::vector<uint32_t> rgba_ = std::vector<uint32_t>(size_t{kViewWidth} * kViewHeight);
};

// Every 5-6-5 colour as the canvas's RGBA bytes (little-endian words), the
// top bits repeated so that white stays white.
const uint32_t* RgbaTable() {
    static const std::vector<uint32_t> table = [] {
        std::vector<uint32_t> t(65536);
        for (uint32_t c = 0; c < 65536; ++c) {
            const uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
            t[c] = ((r << 3) | (r >> 2)) | ((g << 2) | (g >> 4)) << 8 | ((b << 3) | (b >> 2)) << 16 | 0xFF000000u;
        }
        return t;
    }();
    return table.data();
}

WebHost* g_host = nullptr;

void WebHost::Begin() {
    // Like the handheld's counter, the tick does not start at 0 on every visit.
    const uint32_t start = reedshot_start_tick();
    Machine::Get().SetTick(start);
    base_ = static_cast<uint32_t>(static_cast<uint64_t>(reedshot_now_ms())) - start;
}

void WebHost::Rebase(uint32_t tick) {
    if (static_cast<int32_t>(WallTick() - tick) > static_cast<int32_t>(kMaxLagMs)) {
        base_ = static_cast<uint32_t>(static_cast<uint64_t>(reedshot_now_ms())) - tick;
    }
}

bool WebHost::CreateMainWindow(const char*, const char*) {
    Refresh();
    return true;
}

void WebHost::Refresh() {
    const PanelRect all{0, 0, kPanelWidth, kPanelHeight};
    Refresh(&all, 1);
}

// Each part is converted in place, and the parts go to the page together;
// the canvas keeps the rest.
void WebHost::Refresh(const PanelRect* parts, uint32_t count) {
    const uint16_t* panel = Machine::Get().Panel();
    const uint32_t* table = RgbaTable();
    ViewRect views[PanelChanges::kMaxRects];
    count = std::min(count, PanelChanges::kMaxRects);
    uint32_t lit = 0;
    for (uint32_t i = 0; i < count; ++i) {
        RotatePanelRectToView(panel, parts[i], rgba_.data(), kViewWidth, [table, &lit](uint16_t c) {
            lit |= c;
            return table[c];
        });
        views[i] = PanelRectToView(parts[i]);
    }
    reedshot_present(reinterpret_cast<const uint8_t*>(rgba_.data()), kViewWidth, views, count, lit != 0 ? 1 : 0);
}

bool WebHost::RefreshChanges() {
    PanelRect parts[PanelChanges::kMaxRects];
    const uint32_t count = Machine::Get().TakeChanges(parts);
    if (count != 0) Refresh(parts, count);
    return count != 0;
}

void WebHost::PollStore() {
    const uint32_t commits = StoreCommits();
    if (commits == storeCommits_) return;
    storeCommits_ = commits;
    reedshot_store_change();
}

// A burst of writes (a whole Save) lands between two waits, so it is copied once.
void WebHost::Pump() {
    g_waveOut.Pump();
    PollStore();
    const uint32_t now = WallTick();
    if (static_cast<int32_t>(now - lastStats_) >= static_cast<int32_t>(kStatsMs)) {
        lastStats_ = now;
        reedshot_stats(g_waveOut.Ahead(), g_waveOut.Underruns());
    }
}

// Game time keeps up with the wall clock while input comes.
void WebHost::CatchUp() {
    Machine& machine = Machine::Get();
    Rebase(machine.Tick());
    machine.AdvanceTo(WallTick());
}

// A loop reading the tick counter sees it move with the wall clock, never ahead.
uint32_t WebHost::CreepFrom(uint32_t tick) {
    Rebase(tick);
    return WallTick();
}

void WebHost::Wait(uint32_t dueTick, bool untilMessage) {
    Machine& machine = Machine::Get();
    Rebase(machine.Tick());
    for (;;) {
        Pump();
        if (machine.Ended() || (untilMessage && machine.HasMessages())) return;
        uint32_t now = WallTick();
        const bool hidden = reedshot_page_hidden() != 0;
        // Nobody sees a hidden page: what changes meanwhile is drawn on its return.
        if (static_cast<int32_t>(now - lastRefresh_) >= static_cast<int32_t>(kRefreshMs) && !hidden &&
            RefreshChanges()) {
            lastRefresh_ = now;
        }
        const auto left = static_cast<int32_t>(dueTick - now);
        if (left <= 0) return;
        // The browser runs its events meanwhile; input lands in the queue. A
        // hidden page lets the game's timer wait: it fires once however late.
        emscripten_sleep(hidden ? kHiddenSleepMs : std::min<uint32_t>(static_cast<uint32_t>(left), kMaxSleepMs));
    }
}

void WebHost::ShowMessageBox(const char* text, const char* caption, uint32_t /*flags*/) {
    RefreshChanges();
    reedshot_message_box(text, caption);
    // The page shows it; the game waits until it is dismissed, as on the desktop.
    while (reedshot_message_open() != 0) emscripten_sleep(kPlayAgainPollMs);
    // The time spent reading it is not game time to catch up on.
    Rebase(Machine::Get().Tick());
}

void WebHost::Finish() {
    RefreshChanges();
    // What the last moments wrote reaches the browser's storage before the page says goodbye.
    PollStore();
    while (reedshot_store_busy() != 0) emscripten_sleep(kMaxSleepMs);
    reedshot_ended();
}

void WebHost::AwaitPlayAgain() {
    awaiting_ = true;
    while (!playAgain_) emscripten_sleep(kPlayAgainPollMs);
    playAgain_ = false;
    awaiting_ = false;
}

bool WebHost::Close() {
    if (awaiting_) return false;
    Machine::Get().End();
    return true;
}

WebInput::Phase PhaseOf(int32_t phase) {
    return phase == 0 ? WebInput::Phase::kDown : phase == 1 ? WebInput::Phase::kMove : WebInput::Phase::kUp;
}

}  // namespace

WaveOut& SystemWaveOut() { return g_waveOut; }

// The worker's one thread: there is nothing to favour.
void RaiseCurrentThreadPriority() {}

int RunProgram(int /*argc*/, char** /*argv*/, int (*entry)()) {
    setenv("REEDSHOT_DATA_DIR", kDataDir, 1);
    WebHost host;
    g_host = &host;
    // Playing again is starting the program again, in the same page.
    for (;;) {
        Srand(1);
        Machine& machine = Machine::Get();
        machine.Reset();
        // The trace goes to the console when the page asks for it (tests do);
        // otherwise nowhere, rather than piling up in memory.
        if (reedshot_trace_wanted() != 0) {
            machine.TraceTo(stdout);
        } else {
            machine.TraceOff();
        }
        // The page's ?hunt is the command line's --hunt.
        if (reedshot_start_hunt() != 0) GiveStartOption("hunt");
        host.Begin();
        machine.SetHost(&host);
        entry();
        Trace("exit", nullptr);
        host.Finish();
        host.AwaitPlayAgain();
    }
}

}  // namespace plat

// Called by the page. Phases: 0 down, 1 move, 2 up. True (1) when the event
// was the game's and the page should not act on it.
extern "C" {

EMSCRIPTEN_KEEPALIVE int reedshot_mouse(int32_t phase, int32_t button, double x, double y, double w, double h) {
    return plat::g_host != nullptr && plat::g_host->Input().Mouse(plat::PhaseOf(phase), button, x, y, w, h) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int reedshot_touch(int32_t phase, int32_t id, double x, double y, double w, double h) {
    return plat::g_host != nullptr && plat::g_host->Input().Touch(plat::PhaseOf(phase), id, x, y, w, h) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int reedshot_key(int32_t down, const char* code, const char* key, int32_t repeat, int32_t ctrl,
                                      int32_t alt) {
    return plat::g_host != nullptr &&
                   plat::g_host->Input().Key(down != 0, code, key, repeat != 0, ctrl != 0, alt != 0)
               ? 1
               : 0;
}

// Where the page writes a key's code and name: text the game reads at once.
EMSCRIPTEN_KEEPALIVE char* reedshot_key_text(int32_t which) {
    static char texts[2][32];
    return texts[which != 0 ? 1 : 0];
}

EMSCRIPTEN_KEEPALIVE void reedshot_focus_lost() {
    if (plat::g_host != nullptr) plat::g_host->Input().FocusLost();
}

EMSCRIPTEN_KEEPALIVE void reedshot_play_again() {
    if (plat::g_host != nullptr) plat::g_host->PlayAgain();
}

// The page is hidden or left: a commit not yet seen is handed over now.
EMSCRIPTEN_KEEPALIVE void reedshot_store_poll() {
    if (plat::g_host != nullptr) plat::g_host->PollStore();
}

// Another tab takes the game over: this one ends as if its window closed.
// 0 when it had ended already.
EMSCRIPTEN_KEEPALIVE int reedshot_close() { return plat::g_host != nullptr && plat::g_host->Close() ? 1 : 0; }

}  // extern "C"
