#include "platform/core/machine.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "platform/core/start_options.h"

namespace plat {

namespace {

// Reads of an unmoving clock after which it creeps by a millisecond, so that
// a wait spinning on the tick counter ends on a virtual clock too.
constexpr uint32_t kReadsPerCreep = 4096;

// Tests: time jumps ahead at once, and an empty queue without a timer has ended.
// A window created since the last reset counts as a running copy.
class ImmediateHost final : public Host {
public:
    void WaitFor(uint32_t /*dueTick*/) override {}
    void SleepUntil(uint32_t /*dueTick*/) override {}
    void ShowMessageBox(const char*, const char*, uint32_t) override {}
    bool ActivateRunningInstance(const char* className, const char* title) override {
        return std::find(windows_.begin(), windows_.end(), Name(className, title)) != windows_.end();
    }
    bool CreateMainWindow(const char* className, const char* title) override {
        windows_.push_back(Name(className, title));
        return true;
    }
    void Forget() { windows_.clear(); }

private:
    static std::string Name(const char* className, const char* title) { return std::string(className) + "\n" + title; }
    std::vector<std::string> windows_;
};

ImmediateHost g_immediateHost;

}  // namespace

void AppendJsonEscaped(std::string& out, const char* text) {
    for (const char* p = text; *p != '\0'; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
}

Machine& Machine::Get() {
    static Machine machine;
    return machine;
}

Machine::Machine()
    : host_(&g_immediateHost), panel_(size_t{kPanelWidth} * kPanelHeight, 0), shown_(panel_) {}

void Machine::Reset() {
    host_ = &g_immediateHost;
    g_immediateHost.Forget();
    tick_ = 0;
    idleReads_ = 0;
    queue_.clear();
    ended_ = false;
    timerRunning_ = false;
    std::fill(panel_.begin(), panel_.end(), uint16_t{0});
    std::fill(shown_.begin(), shown_.end(), uint16_t{0});
    presentCount_ = 0;
    changes_.Clear();
    boxes_.clear();
    std::lock_guard<std::mutex> hold(traceMutex_);
    traceLines_.clear();
    traceFile_ = nullptr;
    traceOff_ = false;
    differingFrames_ = 0;
}

uint32_t Machine::Tick() {
    // Counted by the main thread only: a plain increment, no locked one.
    const uint32_t reads = idleReads_.load(std::memory_order_relaxed) + 1;
    idleReads_.store(reads, std::memory_order_relaxed);
    if (reads >= kReadsPerCreep) {
        idleReads_ = 0;
        const uint32_t now = tick_.load();
        const uint32_t to = host_->CreepFrom(now);
        if (static_cast<int32_t>(to - now) > 0) tick_ = to;
    }
    return tick_.load();
}

void Machine::SetTick(uint32_t tick) {
    idleReads_ = 0;
    tick_ = tick;
}

void Machine::AdvanceBy(uint32_t milliseconds) { AdvanceTo(tick_.load() + milliseconds); }

void Machine::AdvanceTo(uint32_t tick) {
    idleReads_ = 0;
    // Wrap-safe "later than".
    if (static_cast<int32_t>(tick - tick_.load()) <= 0) return;
    tick_ = tick;
    host_->ClockMoved(tick);
}

void Machine::Post(const Message& message) {
    if (ended_) return;
    if (message.id == kMsgPenMove) {
        for (size_t i = queue_.size(); i-- > 0;) {
            Message& waiting = queue_.at(i);
            if (waiting.id == kMsgPenDown || waiting.id == kMsgPenUp) break;
            if (waiting.id == kMsgPenMove) {
                waiting = message;
                return;
            }
        }
    }
    queue_.push_back(message);
}

void Machine::Sleep(uint32_t milliseconds) {
    const uint32_t until = Tick() + milliseconds;
    host_->SleepUntil(until);
    AdvanceTo(until);
}

// Like a quit message: what is queued already still arrives, nothing after.
void Machine::End() { ended_ = true; }

bool Machine::StartTimer(uint32_t timerId, uint32_t periodMs) {
    if (periodMs == 0) return false;
    timerRunning_ = true;
    timerId_ = timerId;
    timerPeriod_ = periodMs;
    timerDue_ = tick_.load() + periodMs;
    return true;
}

bool Machine::GetMessage(Message& message) {
    idleReads_ = 0;
    for (;;) {
        if (!queue_.empty()) {
            host_->CatchUp();
            message = queue_.front();
            queue_.pop_front();
            host_->Delivering(message, tick_.load());
            return true;
        }
        if (ended_) return false;
        if (!timerRunning_) {
            // Nothing will ever arrive unless the host brings it.
            if (host_ == &g_immediateHost) {
                End();
                continue;
            }
            const uint32_t due = tick_.load() + 1000;
            host_->WaitFor(due);
            if (!ended_ && queue_.empty()) AdvanceTo(due);
            continue;
        }
        if (static_cast<int32_t>(timerDue_ - tick_.load()) > 0) {
            host_->WaitFor(timerDue_);
            if (ended_ || !queue_.empty()) continue;
            AdvanceTo(timerDue_);
        }
        // One timer message however many periods have passed, on the timer's grid.
        while (static_cast<int32_t>(timerDue_ - tick_.load()) <= 0) timerDue_ += timerPeriod_;
        message = Message{kMsgTimer, timerId_, 0};
        host_->Delivering(message, tick_.load());
        return true;
    }
}

void Machine::Present(const uint16_t* pixels, uint32_t pitchBytes, uint32_t width, uint32_t height,
                      const CopyRect* rects, uint32_t count) {
    const uint32_t pitch = pitchBytes / 2;
    for (uint32_t i = 0; i < count; ++i) {
        const CopyRect& r = rects[i];
        // Clip against both the source buffer and the panel.
        int32_t sx = r.srcX, sy = r.srcY, dx = r.dstX, dy = r.dstY, w = r.width, h = r.height;
        if (sx < 0) { w += sx; dx -= sx; sx = 0; }
        if (sy < 0) { h += sy; dy -= sy; sy = 0; }
        if (dx < 0) { w += dx; sx -= dx; dx = 0; }
        if (dy < 0) { h += dy; sy -= dy; dy = 0; }
        w = std::min({w, static_cast<int32_t>(width) - sx, kPanelWidth - dx});
        h = std::min({h, static_cast<int32_t>(height) - sy, kPanelHeight - dy});
        if (w <= 0 || h <= 0) continue;
        // Only copied: whether it changed what the host shows is asked when
        // the host takes the changes, once for all the presents since.
        const uint16_t* from = pixels + size_t(sy) * pitch + sx;
        uint16_t* to = &panel_[size_t(dy) * kPanelWidth + dx];
        if (w == kPanelWidth && pitch == kPanelWidth) {
            std::memmove(to, from, size_t(w) * size_t(h) * 2);
        } else {
            // Not memcpy: the compiler inlines that as a string move, slow
            // to start on rows a sprite wide.
            for (int32_t row = 0; row < h; ++row) {
                std::memmove(to + size_t(row) * kPanelWidth, from + size_t(row) * pitch, size_t(w) * 2);
            }
        }
        changes_.Add({dx, dy, dx + w, dy + h});
    }
    ++presentCount_;
    // Every frame: no formatting machinery.
    char fields[24] = "\"rects\":";
    *std::to_chars(fields + 8, fields + sizeof fields - 1, count).ptr = '\0';
    Trace("present", fields);
}

uint32_t Machine::TakeChanges(PanelRect (&out)[PanelChanges::kMaxRects]) {
    PanelRect presented[PanelChanges::kMaxRects];
    const uint32_t count = changes_.Take(presented);
    uint32_t changed = 0;
    for (uint32_t i = 0; i < count; ++i) {
        // A screen that only repeats itself needs no refresh: each part
        // shrinks to the rows that differ from what the host shows.
        const PanelRect& r = presented[i];
        const size_t bytes = size_t(r.right - r.left) * 2;
        int32_t first = r.bottom, last = -1;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const size_t at = size_t(y) * kPanelWidth + size_t(r.left);
            if (std::memcmp(&shown_[at], &panel_[at], bytes) == 0) continue;
            std::memcpy(&shown_[at], &panel_[at], bytes);
            first = std::min(first, y);
            last = y;
        }
        if (last >= 0) out[changed++] = {r.left, first, r.right, last + 1};
    }
    return changed;
}

void Machine::MessageBox(const char* text, const char* caption, uint32_t flags) {
    const char* shown = caption != nullptr ? caption : "Error";
    boxes_.push_back({text, shown, flags});
    std::string fields = "\"text\":\"";
    AppendJsonEscaped(fields, text);
    fields += "\",\"caption\":\"";
    AppendJsonEscaped(fields, shown);
    fields += '"';
    Trace("message_box", fields.c_str());
    host_->ShowMessageBox(text, shown, flags);
}

void Machine::Trace(const char* event, const char* fields) {
    host_->Traced(event, fields);
    if (std::strcmp(event, "frame_differs") == 0) ++differingFrames_;
    if (traceOff_ && traceFile_ == nullptr) return;
    std::string line = "{\"tick\":" + std::to_string(tick_.load()) + ",\"event\":\"";
    AppendJsonEscaped(line, event);
    line += '"';
    if (fields != nullptr && fields[0] != '\0') {
        line += ',';
        line += fields;
    }
    line += '}';
    std::lock_guard<std::mutex> hold(traceMutex_);
    if (traceFile_ != nullptr) {
        std::fputs(line.c_str(), traceFile_);
        std::fputc('\n', traceFile_);
    } else {
        traceLines_.push_back(std::move(line));
    }
}

// ---------------------------------------------------------------------------
// The platform interface, on the machine.

bool ActivateRunningInstance(const char* className, const char* title) {
    return Machine::Get().CurrentHost()->ActivateRunningInstance(className, title);
}

bool CreateMainWindow(const char* className, const char* title) {
    char fields[160];
    std::snprintf(fields, sizeof fields, "\"class\":\"%.60s\",\"title\":\"%.60s\"", className, title);
    Trace("window", fields);
    return Machine::Get().CurrentHost()->CreateMainWindow(className, title);
}

void CaptureHardwareButtons() { Trace("capture_buttons", nullptr); }

bool StartTimer(uint32_t timerId, uint32_t periodMs) { return Machine::Get().StartTimer(timerId, periodMs); }

bool GetMessage(Message& message) { return Machine::Get().GetMessage(message); }

void SetPointer(PointerShape shape) {
    Trace("pointer", shape == kPointerCrosshair ? "\"shape\":\"crosshair\"" : "\"shape\":\"arrow\"");
    Machine::Get().CurrentHost()->SetPointer(shape);
}

PanelSize ClientSize() { return {kPanelWidth, kPanelHeight}; }

void Present(const uint16_t* pixels, uint32_t pitchBytes, uint32_t width, uint32_t height, const CopyRect* rects,
             uint32_t count) {
    Machine::Get().Present(pixels, pitchBytes, width, height, rects, count);
}

uint32_t GetTickCount() { return Machine::Get().Tick(); }

void Sleep(uint32_t milliseconds) { Machine::Get().Sleep(milliseconds); }

void MessageBox(const char* text, const char* caption, uint32_t flags) {
    Machine::Get().MessageBox(text != nullptr ? text : "", caption, flags);
}

void Trace(const char* event, const char* fields) { Machine::Get().Trace(event, fields); }

namespace testing {

void Reset() {
    Machine::Get().Reset();
    ClearStartOptions();
    Srand(1);
}
void SetTick(uint32_t milliseconds) { Machine::Get().SetTick(milliseconds); }
void AdvanceTick(uint32_t milliseconds) { Machine::Get().AdvanceBy(milliseconds); }
void PushMessage(const Message& message) { Machine::Get().Post(message); }
void EndQueue() { Machine::Get().End(); }
const std::vector<RecordedMessageBox>& MessageBoxes() { return Machine::Get().MessageBoxes(); }
const uint16_t* PresentedPanel() { return Machine::Get().Panel(); }
uint32_t PresentCount() { return Machine::Get().PresentCount(); }
const std::vector<std::string>& TraceLines() { return Machine::Get().TraceLines(); }

}  // namespace testing

}  // namespace plat
