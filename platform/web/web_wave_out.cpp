#include "platform/web/web_wave_out.h"

#include <algorithm>

namespace plat {

namespace {

// After a stall the next buffer starts this far ahead, so that its start is not cut.
constexpr double kRestartLead = 0.02;

}  // namespace

bool WebWaveOut::Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) {
    if (open_ || index != 0 || format.bitsPerSample != 8 || format.channels == 0 || format.blockAlign == 0) {
        return false;
    }
    format_ = format;
    sink_ = sink;
    open_ = true;
    paused_ = false;
    running_ = audio_.Running();
    nextStart_ = audio_.Now();
    return true;
}

void WebWaveOut::Write(WaveBuffer* buffer) {
    if (open_) queue_.push_back({buffer, false, 0});
}

void WebWaveOut::HandBackAll() {
    std::deque<Entry> returned;
    returned.swap(queue_);
    for (const Entry& e : returned) sink_->BufferDone(e.buffer);
}

void WebWaveOut::Reset() {
    if (!open_) return;
    paused_ = true;
    audio_.StopAll();
    HandBackAll();
}

void WebWaveOut::Close() {
    if (!open_) return;
    audio_.StopAll();
    queue_.clear();
    open_ = false;
    sink_ = nullptr;
}

void WebWaveOut::Pump() {
    if (!open_) return;
    const double now = audio_.Now();
    const bool running = audio_.Running();
    if (running != running_) {
        // The clock changed (sound was just allowed): what was scheduled on
        // the old one counts as played, and the schedule starts afresh.
        running_ = running;
        nextStart_ = now;
        const size_t scheduled = static_cast<size_t>(
            std::count_if(queue_.begin(), queue_.end(), [](const Entry& e) { return e.scheduled; }));
        for (size_t i = 0; i < scheduled; ++i) {
            WaveBuffer* done = queue_.front().buffer;
            queue_.pop_front();
            sink_->BufferDone(done);
        }
    }
    // Played: handed back in order; the refill is queued again at once.
    while (!queue_.empty() && queue_.front().scheduled && queue_.front().end <= now) {
        WaveBuffer* done = queue_.front().buffer;
        queue_.pop_front();
        sink_->BufferDone(done);
    }
    if (paused_) return;
    for (Entry& e : queue_) {
        if (e.scheduled) continue;
        if (nextStart_ < now) {
            // The clock overtook the schedule. Short of the lead that is the
            // priming buffers' doing; longer, a stall the player hears, unless
            // nothing is playing (sound not yet allowed, or the page hidden).
            if (running_ && nextStart_ < now - kRestartLead) ++underruns_;
            nextStart_ = now + kRestartLead;
        }
        if (running_) audio_.Play(e.buffer->data, e.buffer->length, format_.channels, format_.samplesPerSec, nextStart_);
        e.scheduled = true;
        e.end = nextStart_ + static_cast<double>(e.buffer->length / format_.blockAlign) / format_.samplesPerSec;
        nextStart_ = e.end;
    }
}

uint32_t WebWaveOut::Ahead() const {
    return static_cast<uint32_t>(std::count_if(queue_.begin(), queue_.end(), [](const Entry& e) { return e.scheduled; }));
}

}  // namespace plat
