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
    const int count = SDL_GetNumAudioDevices(0);
    onlyDefault_ = count < 0;
    return onlyDefault_ ? 1 : static_cast<uint32_t>(count);
}

bool SdlWaveOut::Open(uint32_t index, const WaveFormat& format, WaveDoneSink* sink) {
    if (!audioReady_ || device_ != 0 || format.bitsPerSample != 8) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.samplesPerSec);
    wanted.format = AUDIO_U8;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = SdlBufferFrames(format.samplesPerSec);
    wanted.callback = &SdlWaveOut::Fill;
    wanted.userdata = this;
    const char* name = onlyDefault_ ? nullptr : SDL_GetAudioDeviceName(static_cast<int>(index), 0);
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware wants.
    device_ = SDL_OpenAudioDevice(name, 0, &wanted, &obtained, 0);
    if (device_ == 0) return false;
    sink_ = sink;
    playedOfFront_ = 0;
    return true;
}

void SdlWaveOut::Pause() {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 1);
}

void SdlWaveOut::Restart() {
    if (device_ != 0) SDL_PauseAudioDevice(device_, 0);
}

void SdlWaveOut::Write(WaveBuffer* buffer) {
    if (device_ == 0) return;
    SDL_LockAudioDevice(device_);
    queue_.push_back(buffer);
    SDL_UnlockAudioDevice(device_);
}

void SdlWaveOut::Reset() {
    if (device_ == 0) return;
    SDL_PauseAudioDevice(device_, 1);
    SDL_LockAudioDevice(device_);
    std::deque<WaveBuffer*> returned;
    returned.swap(queue_);
    playedOfFront_ = 0;
    SDL_UnlockAudioDevice(device_);
    for (WaveBuffer* buffer : returned) sink_->BufferDone(buffer);
}

void SdlWaveOut::Close() {
    if (device_ == 0) return;
    // Waits for a running callback to finish.
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    queue_.clear();
    sink_ = nullptr;
}

void SdlWaveOut::Fill(void* self, Uint8* stream, int length) {
    static_cast<SdlWaveOut*>(self)->FillLocked(stream, static_cast<uint32_t>(length));
}

// SDL holds the device's lock while it calls us.
void SdlWaveOut::FillLocked(Uint8* stream, uint32_t length) {
    while (length > 0 && !queue_.empty()) {
        WaveBuffer* front = queue_.front();
        const uint32_t take = std::min(length, front->length - playedOfFront_);
        std::memcpy(stream, front->data + playedOfFront_, take);
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
