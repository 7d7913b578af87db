// The program's own application object on a store of the test's own, the screen under test in its view
// list; helpers to feed events and to read the sounds asked for.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/testing.h"
#include "tests/app/fresh_app.h"
#include "tests/app/recording_view.h"
#include "tests/trace_sound.h"

using Strings = std::vector<std::string>;

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartAppOnFreshStore("screens"));
        plat::testing::SetTick(10000);
        gfx::g_scene->SetScroll(0, 0);  // as every screen but the hunt has it
    }
    void TearDown() override { StopApp(); }

    static gfx::Scene& Scene() { return *gfx::g_scene; }
    static ViewList& Views() { return *theApp.Views(); }
    static Settings& Prefs() { return *theApp.GetSettings(); }

    // Registers `view` under `id` (replacing the program's own) with the scene.
    static void Install(View& view, uint8_t id) {
        view.SetScene(gfx::g_scene);
        Views().Add(&view, id);
    }
    // A stand-in that records what happens to it under `id`.
    RecordingView& Stand(uint8_t id) {
        stands_.push_back(std::make_unique<RecordingView>(log, "v" + std::to_string(id)));
        Install(*stands_.back(), id);
        return *stands_.back();
    }

    // One event to `view`, or through the view list when null.
    static int Send(View* view, InputEvent event) { return view ? view->HandleEvent(event) : Views().HandleEvent(event); }
    static int Send(View* view, uint32_t type, int16_t x = 0, int16_t y = 0) { return Send(view, InputEvent{type, x, y, 0, {}}); }
    static int Char(View* view, uint32_t code) { return Send(view, InputEvent{kEventCharacter, 0, 0, 0, {code}}); }
    static int Key(View* view, uint32_t code) { return Send(view, InputEvent{kEventKeys, 0, 0, 1, {code}}); }
    // Down and up at one place; what the up gave.
    static int Tap(View* view, int16_t x, int16_t y) {
        Send(view, kEventPenDown, x, y);
        return Send(view, kEventPenUp, x, y);
    }
    // The next event carries out the switch a screen asked for.
    static uint8_t ViewAfterwards() {
        Send(nullptr, kEventIdle);
        return Views().Current();
    }
    // An idle event to `view` at `tick`, which it must consume; true when it presented something.
    static bool IdleAt(View& view, uint32_t tick) {
        const uint32_t presents = plat::testing::PresentCount();
        plat::testing::SetTick(tick);
        EXPECT_EQ(Send(&view, kEventIdle), kConsumed);
        return plat::testing::PresentCount() != presents;
    }
    // Pushes `id` and lets the switch happen.
    void Open(uint8_t id) {
        Views().SwitchTo(id, true);
        ASSERT_EQ(ViewAfterwards(), id);
        ForgetSounds();
    }

    // The sounds asked for since the last call, e.g. "535 music loop", "540", "stop".
    Strings Sounds() {
        Strings out;
        const auto& lines = plat::testing::TraceLines();
        for (; traceSeen_ < lines.size(); ++traceSeen_) {
            if (lines[traceSeen_].find("\"event\":\"sound\"") != std::string::npos) out.push_back(SoundEntry(lines[traceSeen_]));
        }
        return out;
    }
    void ForgetSounds() { Sounds(); }

    // The panel as the window shows it.
    static uint16_t Pixel(int32_t x, int32_t y) { return plat::testing::PresentedPanel()[y * 240 + x]; }
    // Whether the panel shows picture `id` (w x h) at (x, y), every `step`th pixel.
    static bool Shows(uint16_t id, int32_t w, int32_t h, int32_t x, int32_t y, int32_t step = 1) {
        gfx::Picture picture;
        gfx::LoadPicture(picture, id, static_cast<uint16_t>(w), static_cast<uint16_t>(h));
        for (int32_t py = 0; py < h; py += step) {
            for (int32_t px = 0; px < w; px += step) {
                if (Pixel(x + px, y + py) != picture.surface->At(px, py)) return false;
            }
        }
        return true;
    }

    std::vector<std::string> log;

private:
    std::vector<std::unique_ptr<RecordingView>> stands_;
    size_t traceSeen_ = 0;
};

// The screen `V` registered as `Id` and entered once Arrange has set the stage; left again at the end.
template <typename V, uint8_t Id>
class EnteredScreen : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(screen, Id);
        Arrange();
        screen.Enter();
    }
    void TearDown() override {
        screen.Leave();
        ScreenTest::TearDown();
    }
    virtual void Arrange() {}

    V screen;
};
