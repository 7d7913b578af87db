// Mouse, keys and pads of the desktop window as panel input, and its sound through SDL (on the dummy driver).
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/audio/sdl_wave_out.h"
#include "platform/desktop/gamepad.h"
#include "platform/desktop/key_map.h"
#include "platform/desktop/letterbox.h"
#include "platform/platform.h"

namespace {

TEST(Letterbox, WholeScalesCentredPressesInTheBarsIgnoredDragsClampedKeysInTheLandscapeAndTypedCharactersShifted) {
    const std::pair<std::pair<int, int>, std::tuple<int, int, int>> fits[] = {
        {{960, 720}, {0, 0, 3}}, {{1000, 730}, {20, 5, 3}}, {{700, 2000}, {30, 760, 2}}, {{100, 100}, {-110, -70, 1}}};
    for (const auto& [window, expected] : fits) {
        const plat::Viewport v = plat::FitView(window.first, window.second);
        EXPECT_EQ(std::make_tuple(v.x, v.y, v.scale), expected) << window.first << "x" << window.second;
    }
    // Output points in the view at (20, 5) scale 3, and the panel point each gives.
    const struct {
        int x, y;
        bool drag, inside;
        int panelX, panelY;
    } points[] = {
        {20, 5, false, true, 0, 319},          // the view's top-left pixel is the panel's bottom-left
        {979, 724, false, true, 239, 0},
        {19, 100, false, false, 0, 0},         // one output pixel into the bars on either side
        {980, 100, false, false, 0, 0},
        {100, 4, false, false, 0, 0},
        {100, 725, false, false, 0, 0},
        {-500, 2000, true, true, 239, 319},    // a drag outside: the view's bottom-left
    };
    for (const auto& p : points) {
        plat::Point panel{};
        EXPECT_EQ(plat::OutputToPanel({20, 5, 3}, p.x, p.y, p.drag, panel), p.inside) << p.x << "," << p.y;
        if (p.inside) { EXPECT_EQ(std::make_pair(panel.x, panel.y), std::make_pair(p.panelX, p.panelY)) << p.x << "," << p.y; }
    }
    std::string mapped;  // kind:code, the player's left arrow being the panel's down (0x28)
    for (const SDL_Keycode k : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_RETURN, SDLK_1, SDLK_4, SDLK_SPACE, SDLK_a}) {
        mapped += std::to_string(plat::MapKey(k).kind) + ":" + std::to_string(plat::MapKey(k).code) + " ";
    }
    EXPECT_EQ(mapped, "1:40 1:38 1:37 1:39 1:13 2:193 2:196 2:195 0:0 ");
    const std::tuple<SDL_Keycode, int, uint32_t> typed[] = {
        {SDLK_q, KMOD_NONE, 'q'},          {SDLK_q, KMOD_LSHIFT, 'Q'},     {SDLK_z, KMOD_CAPS, 'Z'},
        {SDLK_a, KMOD_CAPS | KMOD_RSHIFT, 'a'}, {SDLK_0, KMOD_NONE, '0'}, {SDLK_9, KMOD_NONE, '9'},
        {SDLK_KP_7, KMOD_NUM, '7'},        {SDLK_KP_0, KMOD_NUM, '0'},     {SDLK_KP_7, KMOD_NONE, 0},  // Home, not a digit
        {SDLK_BACKSPACE, KMOD_NONE, 0x08}, {SDLK_RETURN, KMOD_NONE, 0x0D}, {SDLK_KP_ENTER, KMOD_NONE, 0x0D},
        {SDLK_ESCAPE, KMOD_NONE, 0x1B},    {SDLK_SPACE, KMOD_NONE, 0},     {SDLK_LEFT, KMOD_NONE, 0},
        {SDLK_F1, KMOD_NONE, 0}};
    for (const auto& [sdl, mods, c] : typed) EXPECT_EQ(plat::TypedChar(sdl, static_cast<uint16_t>(mods)), c) << sdl << " " << mods;
}

// What a pad sends, written down in order.
class Sent final : public plat::PanelInput {
public:
    void PenDown(plat::Point p) override { Add("down", p); }
    void PenMove(plat::Point p) override { Add("move", p); }
    void PenUp(plat::Point p) override { Add("up", p); }
    void PressKey(const plat::MappedKey& key) override { log += "press " + std::to_string(key.code) + ";"; }
    void ReleaseKey(uint32_t code) override { log += "release " + std::to_string(code) + ";"; }
    void Type(uint32_t c) override { log += "type " + std::to_string(c) + ";"; }
    std::string log;

private:
    void Add(const char* what, plat::Point panel) {
        const plat::Point view = plat::PanelToView(panel);
        log += std::string(what) + " " + std::to_string(view.x) + "," + std::to_string(view.y) + ";";
    }
};

SDL_Event PadButton(SDL_GameControllerButton button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.button = static_cast<Uint8>(button);
    return e;
}

TEST(Gamepad, ButtonsAreTheStylusAndKeysARemovedPadLetsGoAndTheStickSpeedsUpWhileHeld) {
    Sent sent;
    plat::Gamepad pad(sent);
    const struct {
        SDL_GameControllerButton button;
        bool down;
        const char* sent;
    } steps[] = {
        {SDL_CONTROLLER_BUTTON_A, true, "down 160,120;"},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, "move 159,120;"},  // a nudge drags one pixel
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, false, ""},
        {SDL_CONTROLLER_BUTTON_A, false, "up 159,120;"},
        // West and east both reload: one press, let go when the last one is.
        {SDL_CONTROLLER_BUTTON_X, true, "press 195;"},
        {SDL_CONTROLLER_BUTTON_B, true, ""},
        {SDL_CONTROLLER_BUTTON_X, false, ""},
        {SDL_CONTROLLER_BUTTON_B, false, "release 195;"},
        // The shoulders are the player's left and right arrows (the panel's down and up).
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true, "press 40;"},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false, "release 40;"},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true, "press 38;"},
        {SDL_CONTROLLER_BUTTON_START, true, "type 27;"},
        {SDL_CONTROLLER_BUTTON_BACK, true, "type 27;"},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, true, ""},
        {SDL_CONTROLLER_BUTTON_A, true, "down 159,119;"},
        {SDL_CONTROLLER_BUTTON_X, true, "press 195;"},
    };
    uint64_t now = 1000;
    for (const auto& step : steps) {
        sent.log.clear();
        pad.Event(PadButton(step.button, step.down), now += 10);
        EXPECT_EQ(sent.log, step.sent) << step.button << (step.down ? " down" : " up");
    }
    EXPECT_EQ(std::pair(pad.Active(now), pad.Active(now + 5000)), std::pair(true, false));
    // Pulled out with the stylus, the reload and an arrow held: all come up.
    sent.log.clear();
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 99;
    pad.Event(removed, now);
    EXPECT_EQ(sent.log, "up 159,119;release 195;release 38;");
    // The stick is fine when nudged and faster while held; 7000 is inside the dead zone.
    EXPECT_EQ((std::vector<double>{plat::AxisPush(0), plat::AxisPush(7000), plat::AxisPush(32767), plat::AxisPush(-32768)}), (std::vector<double>{0, 0, 1, -1}));
    // Past the dead zone the push starts small, not with a jump.
    EXPECT_GT(plat::AxisPush(9000), 0);
    EXPECT_LT(plat::AxisPush(9000), 0.1);
    EXPECT_LT(plat::PointerSpeed(0.2, 0), 5);  // px/s: a pixel at a time
    EXPECT_GT(plat::PointerSpeed(1, 800), 4 * plat::PointerSpeed(1, 0));
    EXPECT_EQ(plat::PointerSpeed(1, 800), plat::PointerSpeed(1, 60000));
    // Across the view in about a second and a half at full push.
    EXPECT_GT(plat::PointerSpeed(1, 800), 200);
}

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
