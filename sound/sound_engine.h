// The software mixer: owns the wave-output device, keeps five buffers in
// flight and refills each one on a thread of its own (or, where the device
// hands buffers back on the main thread, right there) as the device hands it
// back, mixing up to eight 8-bit mono samples into 8-bit unsigned output.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/platform.h"
#include "sound/mixer_mailbox.h"
#include "sound/sample.h"
#include "sound/sample_voice.h"

namespace snd {

constexpr uint16_t kNoVoice = 0xFFFF;
constexpr uint32_t kBufferCount = 5;

// Frames per output buffer at a rate; any rate but 11025, 22050 and 44100
// plays at 22050.
struct OutputShape {
    uint32_t rate;
    uint32_t framesPerBuffer;
};
OutputShape ShapeForRate(uint32_t sampleRate);

class SoundEngine : private plat::WaveDoneSink {
public:
    explicit SoundEngine(plat::WaveOut& device);
    virtual ~SoundEngine();
    SoundEngine(const SoundEngine&) = delete;
    SoundEngine& operator=(const SoundEngine&) = delete;

    bool Open(uint32_t sampleRate, bool stereo);
    // True also when not open; a second call does nothing.
    bool Close();

    // The voice taken, or kNoVoice when closed, the sample is empty or all
    // eight voices play (no voice is cut short to make room).
    uint16_t StartSample(const Sample& sample);
    void StopVoice(uint32_t voice);
    uint32_t ActiveVoiceCount() const;

    bool IsOpen() const { return opened_; }
    uint32_t OutputRate() const { return outputRate_; }
    uint32_t FramesPerBuffer() const { return framesPerBuffer_; }

private:
    void BufferDone(plat::WaveBuffer* buffer) override;
    void MixLoop();
    void Refill(plat::WaveBuffer* done);
    bool OpenFirstDevice(const plat::WaveFormat& format);
    uint32_t BufferBytes() const { return framesPerBuffer_ << stereo_; }

    plat::WaveOut& device_;
    plat::WaveBuffer headers_[kBufferCount] = {};
    std::thread thread_;
    std::mutex lock_;
    MixerMailbox mailbox_;
    bool opened_ = false;
    bool mixOnMainThread_ = false;  // no mixing thread: the device's own notices refill
    uint32_t outputRate_ = 0;
    SampleVoice voices_[kVoiceCount];
    std::unique_ptr<uint8_t[]> mixMemory_;
    uint32_t framesPerBuffer_ = 0;
    uint32_t mixMemorySize_ = 0;
    uint32_t stereo_ = 0;
};

}  // namespace snd
