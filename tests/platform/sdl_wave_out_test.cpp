// Desktop sound through SDL, on SDL's silent dummy driver.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/audio/sdl_wave_out.h"

namespace {

class DoneList final : public plat::WaveDoneSink {
public:
    void BufferDone(plat::WaveBuffer* buffer) override {
        std::lock_guard<std::mutex> hold(mutex_);
        done_.push_back(buffer);
        changed_.notify_all();
    }
    bool WaitFor(const plat::WaveBuffer* buffer) {
        std::unique_lock<std::mutex> hold(mutex_);
        return changed_.wait_for(hold, std::chrono::seconds(3), [&] {
            for (const plat::WaveBuffer* b : done_)
                if (b == buffer) return true;
            return false;
        });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<plat::WaveBuffer*> done_;
};

TEST(SdlWaveOut, PlaysOnThroughTheDefaultDeviceWhenItsDeviceGoesAway) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    DoneList sink;
    std::vector<uint8_t> bytes(4 * 1176, 128);
    plat::WaveBuffer buffers[4] = {{&bytes[0], 1176}, {&bytes[1176], 1176}, {&bytes[2352], 1176}, {&bytes[3528], 1176}};
    {
        plat::SdlWaveOut out;
        // The system's default comes first, even where no device is listed.
        ASSERT_GE(out.DeviceCount(), 1u);
        const plat::WaveFormat format{1, 2, 22050, 44100, 2, 8, 0};
        ASSERT_TRUE(out.Open(0, format, &sink));
        out.Restart();
        out.Write(&buffers[0]);
        ASSERT_TRUE(sink.WaitFor(&buffers[0]));

        // Another device going away changes nothing; ours going away reopens the default.
        out.DeviceRemoved(out.Device() + 100);
        out.Write(&buffers[1]);
        out.Write(&buffers[2]);
        out.DeviceRemoved(out.Device());
        EXPECT_NE(out.Device(), 0u);
        out.Write(&buffers[3]);
        // The buffers queued before and after the loss still come back, so the mixer goes on.
        for (int i = 1; i < 4; ++i) EXPECT_TRUE(sink.WaitFor(&buffers[i])) << i;
        out.Close();
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
