// The machine every run is built on: one virtual millisecond clock, one
// message queue with the heartbeat timer, the panel's pixels and the logs.
// A host decides how time passes: at once (tests), by a script (headless) or
// with the wall clock and a real window (desktop).
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "platform/core/panel_changes.h"
#include "platform/core/ring_queue.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace plat {

constexpr int32_t kPanelWidth = 240;
constexpr int32_t kPanelHeight = 320;

class Host {
public:
    virtual ~Host() = default;
    // Lets time run towards `dueTick`. Returns early when it has posted
    // messages or ended the queue; otherwise the clock may move to dueTick.
    virtual void WaitFor(uint32_t dueTick) = 0;
    // Lets time run to `dueTick` whatever arrives meanwhile: input is posted
    // and waits in the queue. Returns early only when the queue has ended.
    virtual void SleepUntil(uint32_t dueTick) = 0;
    // A queued message is about to be handed out: a host paced by a wall
    // clock brings the clock up to it first.
    virtual void CatchUp() {}
    // The clock creeps because the program keeps reading it: the tick it may
    // creep to (a host with a wall clock never lets it run ahead).
    virtual uint32_t CreepFrom(uint32_t tick) { return tick + 1; }
    // The clock moved on; a host that keeps devices in step with it does so.
    virtual void ClockMoved(uint32_t /*tick*/) {}
    virtual void ShowMessageBox(const char* text, const char* caption, uint32_t flags) = 0;
    virtual bool ActivateRunningInstance(const char* className, const char* title) = 0;
    virtual bool CreateMainWindow(const char* className, const char* title) = 0;
    virtual void SetPointer(PointerShape /*shape*/) {}
    // A message is about to reach the program (a recording host keeps it).
    virtual void Delivering(const Message& /*message*/, uint32_t /*tick*/) {}
    // A trace record was made (the soak follows the screens by them). The
    // mixing thread traces too.
    virtual void Traced(const char* /*event*/, const char* /*fields*/) {}
};

class Machine {
public:
    static Machine& Get();

    void SetHost(Host* host) { host_ = host; }
    Host* CurrentHost() const { return host_; }

    // Clock.
    uint32_t Tick();
    void SetTick(uint32_t tick);
    void AdvanceBy(uint32_t milliseconds);
    void AdvanceTo(uint32_t tick);  // never backwards
    // The full time, on the host's clock; input meanwhile waits in the queue.
    void Sleep(uint32_t milliseconds);

    // Queue. A pen move replaces a pen move still waiting behind the last
    // pen down or up, as the handheld's system merged them.
    void Post(const Message& message);
    void End();
    bool Ended() const { return ended_; }
    bool HasMessages() const { return !queue_.empty(); }
    bool GetMessage(Message& message);
    bool StartTimer(uint32_t timerId, uint32_t periodMs);

    // Panel.
    void Present(const uint16_t* pixels, uint32_t pitchBytes, uint32_t width, uint32_t height, const CopyRect* rects,
                 uint32_t count);
    const uint16_t* Panel() const { return panel_.data(); }
    uint32_t PresentCount() const { return presentCount_; }
    // Where the panel differs from what the last call handed over: the
    // host's screen needs those parts refreshed (none: no refresh).
    uint32_t TakeChanges(PanelRect (&out)[PanelChanges::kMaxRects]);

    // Logs.
    void MessageBox(const char* text, const char* caption, uint32_t flags);
    const std::vector<testing::RecordedMessageBox>& MessageBoxes() const { return boxes_; }
    void Trace(const char* event, const char* fields);
    void TraceTo(std::FILE* file) { traceFile_ = file; }
    // A run without a trace file keeps nothing: the lines are only for tests.
    void TraceOff() { traceOff_ = true; }
    // Whether a trace line is written or kept anywhere.
    bool TraceKept() const { return !traceOff_ || traceFile_ != nullptr; }
    const std::vector<std::string>& TraceLines() const { return traceLines_; }
    // The `frame_differs` records traced since the reset (--check-frames).
    uint32_t DifferingFrames() const { return differingFrames_; }

    void Reset();

private:
    Machine();

    Host* host_ = nullptr;
    std::atomic<uint32_t> tick_{0};
    std::atomic<uint32_t> idleReads_{0};
    RingQueue<Message> queue_;
    bool ended_ = false;
    bool timerRunning_ = false;
    uint32_t timerId_ = 0;
    uint32_t timerPeriod_ = 0;
    uint32_t timerDue_ = 0;
    std::vector<uint16_t> panel_;
    // The panel as the last TakeChanges left the host's screen.
    std::vector<uint16_t> shown_;
    uint32_t presentCount_ = 0;
    PanelChanges changes_;
    std::vector<testing::RecordedMessageBox> boxes_;
    std::mutex traceMutex_;  // the mixing thread traces too
    std::FILE* traceFile_ = nullptr;
    bool traceOff_ = false;
    std::vector<std::string> traceLines_;
    std::atomic<uint32_t> differingFrames_{0};
};

// Appends `text` to `out` as the inside of a JSON string.
void AppendJsonEscaped(std::string& out, const char* text);

}  // namespace plat
