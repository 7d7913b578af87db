#include "sound/sound_engine.h"

#include <cstring>
#include <new>

#include "sound/mixer.h"

namespace snd {

namespace {

// The first round of buffers is this short so that the device hands every
// one back at once and the mixing thread queues them at full length.
constexpr uint32_t kPrimingBytes = 8;
constexpr uint8_t kSilence = 128;

}  // namespace

OutputShape ShapeForRate(uint32_t sampleRate) {
    switch (sampleRate) {
        case 11025: return {11025, 298};
        case 44100: return {44100, 1176};
        case 22050:
        default: return {22050, 588};
    }
}

SoundEngine::SoundEngine(plat::WaveOut& device) : device_(device) {}

SoundEngine::~SoundEngine() { Close(); }

bool SoundEngine::Open(uint32_t sampleRate, bool stereo) {
    if (opened_) return false;
    const OutputShape shape = ShapeForRate(sampleRate);
    outputRate_ = shape.rate;
    framesPerBuffer_ = shape.framesPerBuffer;
    stereo_ = stereo ? 1 : 0;
    mixMemorySize_ = (framesPerBuffer_ * kBufferCount) << stereo_;
    mixMemory_.reset(new (std::nothrow) uint8_t[mixMemorySize_]);
    if (!mixMemory_) return false;
    std::memset(mixMemory_.get(), kSilence, mixMemorySize_);

    const uint16_t channels = static_cast<uint16_t>(1u << stereo_);
    const plat::WaveFormat format{1, channels, outputRate_, channels * outputRate_, channels, 8, 0};
    if (!OpenFirstDevice(format)) {
        mixMemory_.reset();
        return false;
    }

    mailbox_.Clear();
    device_.Pause();
    for (uint32_t i = 0; i < kBufferCount; ++i) {
        headers_[i] = {mixMemory_.get() + i * BufferBytes(), kPrimingBytes};
        device_.Write(&headers_[i]);
    }
    mixOnMainThread_ = device_.HandsBackOnMainThread();
    if (!mixOnMainThread_) thread_ = std::thread([this] { MixLoop(); });
    device_.Restart();
    opened_ = true;
    return true;
}

bool SoundEngine::OpenFirstDevice(const plat::WaveFormat& format) {
    const uint32_t count = device_.DeviceCount();
    for (uint32_t index = 0; index < count; ++index) {
        if (device_.Open(index, format, this)) return true;
    }
    return false;
}

bool SoundEngine::Close() {
    if (!opened_) return true;
    // The thread is gone before the device and the buffers are torn down.
    if (thread_.joinable()) {
        mailbox_.PostStop();
        thread_.join();
    }
    opened_ = false;  // what the reset hands back is not refilled
    device_.Reset();
    device_.Close();
    mailbox_.Clear();
    for (SampleVoice& v : voices_) v.stopped.store(true, std::memory_order_relaxed);
    mixMemory_.reset();
    return true;
}

void SoundEngine::BufferDone(plat::WaveBuffer* buffer) {
    if (!mixOnMainThread_) {
        mailbox_.PostBufferDone(buffer);
    } else if (opened_ && buffer != nullptr) {
        Refill(buffer);
    }
}

void SoundEngine::MixLoop() {
    plat::RaiseCurrentThreadPriority();
    while (plat::WaveBuffer* done = mailbox_.Wait()) Refill(done);
}

void SoundEngine::Refill(plat::WaveBuffer* done) {
    {
        std::lock_guard<std::mutex> hold(lock_);
        MixBuffer(voices_, done->data, framesPerBuffer_, stereo_ != 0);
    }
    done->length = BufferBytes();
    device_.Write(done);
}

uint16_t SoundEngine::StartSample(const Sample& sample) {
    if (!opened_ || sample.Data() == nullptr) return kNoVoice;
    uint16_t free = kNoVoice;
    for (uint16_t i = 0; i < kVoiceCount && free == kNoVoice; ++i) {
        if (voices_[i].stopped.load(std::memory_order_acquire)) free = i;
    }
    if (free == kNoVoice) return kNoVoice;

    std::lock_guard<std::mutex> hold(lock_);
    SampleVoice& v = voices_[free];
    StartVoice(v, sample, outputRate_);
    v.stopped.store(false, std::memory_order_release);
    return free;
}

void SoundEngine::StopVoice(uint32_t voice) {
    if (!opened_ || voice >= kVoiceCount) return;
    std::lock_guard<std::mutex> hold(lock_);
    voices_[voice].stopped.store(true, std::memory_order_release);
}

uint32_t SoundEngine::ActiveVoiceCount() const {
    uint32_t count = 0;
    for (const SampleVoice& v : voices_) count += v.stopped.load(std::memory_order_acquire) ? 0 : 1;
    return count;
}

}  // namespace snd
