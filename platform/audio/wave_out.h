// The wave-output device: plays queued 8-bit unsigned PCM buffers in order and
// hands each one back when it has been played. The mixer keeps it fed.
#pragma once

#include <cstdint>

namespace plat {

struct WaveFormat {
    uint16_t formatTag;  // 1: PCM
    uint16_t channels;   // 1 or 2
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;  // 8
    uint16_t extraSize;
};

// One output buffer. The owner keeps it alive while it is queued.
struct WaveBuffer {
    uint8_t* data;
    uint32_t length;  // bytes
};

// Told about every finished buffer, on whatever thread the device runs; must
// not block.
class WaveDoneSink {
public:
    virtual void BufferDone(WaveBuffer* buffer) = 0;

protected:
    ~WaveDoneSink() = default;
};

class WaveOut {
public:
    virtual ~WaveOut() = default;
    virtual uint32_t DeviceCount() = 0;
    // Opens device `index` with this format; finished buffers go to `sink`.
    virtual bool Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) = 0;
    virtual void Pause() = 0;
    virtual void Restart() = 0;
    virtual void Write(WaveBuffer* buffer) = 0;
    // Stops playing and hands every queued buffer back through the sink.
    virtual void Reset() = 0;
    virtual void Close() = 0;
    // True for a device that hands buffers back on the main thread, from inside
    // the platform's waits (the browser, which has no threads, and the
    // virtual clock, whose runs must not depend on a thread's timing); the
    // mixer then refills them right there instead of on a thread of its own.
    virtual bool HandsBackOnMainThread() const { return false; }
};

// No device at all: nothing opens, so the mixer stays closed and every sound
// goes unheard (muted runs, and tests that only need the volumes kept).
class SilentWaveOut final : public WaveOut {
public:
    uint32_t DeviceCount() override { return 0; }
    bool Open(uint32_t, const WaveFormat&, WaveDoneSink*) override { return false; }
    void Pause() override {}
    void Restart() override {}
    void Write(WaveBuffer*) override {}
    void Reset() override {}
    void Close() override {}
};

// The device this run plays through: SDL audio on the desktop, the
// virtual-clock device headless and in tests, no device at all when muted.
WaveOut& SystemWaveOut();

// Asks the system to favour the calling thread; quietly does nothing where
// that is not allowed.
void RaiseCurrentThreadPriority();

}  // namespace plat
