#include "platform/audio/sdl_wave_out.h"

#include <algorithm>
#include <cstring>

namespace plat {

namespace {

constexpr Uint8 kSilence = 128;

// About 12 ms of audio at any of the mixer's rates.
Uint16 SdlBufferFrames(uint32_t rate) {
    if (rate <= 11025) return 128;
    if (rate <= 22050) return 256;
    return 512;
}

}  // namespace

SdlWaveOut::~SdlWaveOut() { Close(); }

uint32_t SdlWaveOut::DeviceCount() {
    if (!audioReady_) audioReady_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!audioReady_) return 0;
    // The default first: the first listed device is not always the one the system plays through.
    return 1 + static_cast<uint32_t>(std::max(SDL_GetNumAudioDevices(0), 0));
}

bool SdlWaveOut::Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) {
    if (!audioReady_ || device_ != 0 || lost_ || format.bitsPerSample != 8) return false;
    wanted_ = SDL_AudioSpec{};
    wanted_.freq = static_cast<int>(format.samplesPerSec);
    wanted_.format = AUDIO_U8;
    wanted_.channels = static_cast<Uint8>(format.channels);
    wanted_.samples = SdlBufferFrames(format.samplesPerSec);
    wanted_.callback = &SdlWaveOut::Fill;
    wanted_.userdata = this;
    const char* name = nullptr;
    if (index > 0) {
        name = SDL_GetAudioDeviceName(static_cast<int>(index - 1), 0);
        if (name == nullptr) return false;
    }
    if (!OpenDevice(name)) return false;
    paused_ = false;
    std::lock_guard<std::mutex> hold(mutex_);
    sink_ = sink;
    open_ = true;
    playedOfFront_ = 0;
    return true;
}

bool SdlWaveOut::OpenDevice(const char* name) {
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware wants.
    device_ = SDL_OpenAudioDevice(name, 0, &wanted_, &obtained, 0);
    return device_ != 0;
}

void SdlWaveOut::Pause() {
    paused_ = true;
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
}

void SdlWaveOut::Restart() {
    paused_ = false;
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

void SdlWaveOut::Write(WaveBuffer* buffer) {
    std::lock_guard<std::mutex> hold(mutex_);
    if (open_) queue_.push_back(buffer);
}

void SdlWaveOut::Reset() {
    if (device_ == 0 && !lost_) return;
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
    std::deque<WaveBuffer*> returned;
    {
        std::lock_guard<std::mutex> hold(mutex_);
        returned.swap(queue_);
        playedOfFront_ = 0;
    }
    for (WaveBuffer* buffer : returned) sink_->BufferDone(buffer);
}

void SdlWaveOut::Close() {
    if (device_ == 0 && !lost_) return;
    // Waits for a running callback to finish.
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    lost_ = false;
    std::lock_guard<std::mutex> hold(mutex_);
    open_ = false;
    queue_.clear();
    sink_ = nullptr;
}

void SdlWaveOut::DeviceRemoved(SDL_AudioDeviceID which) {
    if (device_ == 0 || which != device_) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    lost_ = true;
    DeviceAdded();
}

void SdlWaveOut::DeviceAdded() {
    if (!lost_ || !OpenDevice(nullptr)) return;
    lost_ = false;
    if (!paused_) SDL_PauseAudioDevice(device_, 0);
}

void SdlWaveOut::Fill(void* self, Uint8* stream, int length) {
    static_cast<SdlWaveOut*>(self)->FillQueued(stream, static_cast<uint32_t>(length));
}

void SdlWaveOut::FillQueued(Uint8* stream, uint32_t length) {
    std::unique_lock<std::mutex> hold(mutex_);
    while (length > 0 && !queue_.empty()) {
        WaveBuffer* front = queue_.front();
        const uint32_t take = std::min(length, front->length - playedOfFront_);
        if (muted_) {
            std::memset(stream, kSilence, take);
        } else {
            std::memcpy(stream, front->data + playedOfFront_, take);
        }
        stream += take;
        length -= take;
        playedOfFront_ += take;
        if (playedOfFront_ == front->length) {
            queue_.pop_front();
            playedOfFront_ = 0;
            sink_->BufferDone(front);
        }
    }
    // Nothing queued in time: play silence rather than stale bytes.
    std::memset(stream, kSilence, length);
}

}  // namespace plat
