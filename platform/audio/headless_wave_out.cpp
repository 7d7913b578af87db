#include "platform/audio/headless_wave_out.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/platform.h"

namespace plat {

namespace {

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void TraceBuffer(const char* event, uint32_t bytes, size_t queued) {
    char fields[64];
    std::snprintf(fields, sizeof fields, "\"bytes\":%u,\"queued\":%zu", bytes, queued);
    Trace(event, fields);
}

}  // namespace

HeadlessWaveOut::~HeadlessWaveOut() { Close(); }

bool HeadlessWaveOut::Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) {
    if (open_ || index != 0 || format.bitsPerSample != 8 || format.blockAlign == 0) return false;
    format_ = format;
    sink_ = sink;
    open_ = true;
    paused_ = false;
    lastTick_ = GetTickCount();
    frameCredit_ = 0;
    return true;
}

void HeadlessWaveOut::Pause() { paused_ = true; }

void HeadlessWaveOut::Restart() {
    paused_ = false;
    lastTick_ = GetTickCount();
}

void HeadlessWaveOut::Write(WaveBuffer* buffer) {
    queue_.push_back(buffer);
    TraceBuffer("audio_write", buffer->length, queue_.size());
}

void HeadlessWaveOut::AdvanceTo(uint32_t tick) {
    const uint32_t elapsed = tick - lastTick_;
    lastTick_ = tick;
    if (!open_ || paused_) return;
    frameCredit_ += uint64_t{elapsed} * format_.samplesPerSec;
    while (open_ && !paused_) {
        // With nothing queued the time passes unheard, as on a real device.
        if (queue_.empty()) {
            frameCredit_ = 0;
            return;
        }
        WaveBuffer* buffer = queue_.front();
        const uint64_t cost = uint64_t{buffer->length / format_.blockAlign} * 1000;
        if (frameCredit_ < cost) return;
        frameCredit_ -= cost;
        queue_.pop_front();
        if (!capturePath_.empty()) played_.insert(played_.end(), buffer->data, buffer->data + buffer->length);
        TraceBuffer("audio_done", buffer->length, queue_.size());
        sink_->BufferDone(buffer);  // refilled and queued again before this returns
    }
}

void HeadlessWaveOut::Reset() {
    frameCredit_ = 0;
    // Only the buffers queued now go back; a sink may queue them again.
    for (size_t returned = queue_.size(); returned > 0; --returned) {
        WaveBuffer* buffer = queue_.front();
        queue_.pop_front();
        if (sink_ == nullptr) continue;
        TraceBuffer("audio_done", buffer->length, 0);
        sink_->BufferDone(buffer);
    }
}

void HeadlessWaveOut::Close() {
    if (!open_) return;
    open_ = false;
    queue_.clear();
    sink_ = nullptr;
    WriteCapture();
}

void HeadlessWaveOut::CaptureTo(const std::string& path) {
    capturePath_ = path;
    played_.clear();
}

void HeadlessWaveOut::WriteCapture() {
    if (capturePath_.empty()) return;
    const auto dataBytes = static_cast<uint32_t>(played_.size());
    std::vector<uint8_t> header;
    PutTag(header, "RIFF");
    PutLe(header, 36 + dataBytes, 4);
    PutTag(header, "WAVE");
    PutTag(header, "fmt ");
    PutLe(header, 16, 4);
    PutLe(header, 1, 2);
    PutLe(header, format_.channels, 2);
    PutLe(header, format_.samplesPerSec, 4);
    PutLe(header, format_.avgBytesPerSec, 4);
    PutLe(header, format_.blockAlign, 2);
    PutLe(header, format_.bitsPerSample, 2);
    PutTag(header, "data");
    PutLe(header, dataBytes, 4);
    std::ofstream file(capturePath_, std::ios::binary);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(played_.data()), static_cast<std::streamsize>(played_.size()));
    if (!file) std::fprintf(stderr, "reedshot: could not write the audio to %s\n", capturePath_.c_str());
    played_.clear();
}

}  // namespace plat
