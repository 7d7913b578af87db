// The program's own application object, started on a store of the test's
// own, with the screen under test registered in its view list; helpers to
// feed events and to read the sounds asked for.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::CloseStore();
        const auto dir = std::filesystem::path(::testing::TempDir()) / ("reedshot_screens_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        setenv("REEDSHOT_DATA_DIR", dir.c_str(), 1);
        plat::testing::Reset();
        ASSERT_TRUE(theApp.Initialise());
        plat::testing::SetTick(10000);
        gfx::g_scene->SetScroll(0, 0);  // as every screen but the hunt has it
    }
    void TearDown() override {
        theApp.Shutdown();
        plat::testing::CloseStore();
    }

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

    static InputEvent Event(uint32_t type, int16_t x = 0, int16_t y = 0) {
        InputEvent event{};
        event.type = type;
        event.x = x;
        event.y = y;
        return event;
    }
    static InputEvent Key(uint32_t code) {
        InputEvent event = Event(kEventKeys);
        event.keyCount = 1;
        event.payload[0] = code;
        return event;
    }

    // The sound lines of the trace since the last call, e.g. "535 music loop",
    // "540", "stop".
    std::vector<std::string> Sounds() {
        std::vector<std::string> out;
        const auto& lines = plat::testing::TraceLines();
        for (; traceSeen_ < lines.size(); ++traceSeen_) {
            const std::string& line = lines[traceSeen_];
            if (line.find("\"event\":\"sound\"") == std::string::npos) continue;
            if (line.find("\"stop\":true") != std::string::npos) {
                out.push_back("stop");
                continue;
            }
            const size_t at = line.find("\"id\":");
            std::string entry = line.substr(at + 5, line.find(',', at) - at - 5);
            if (line.find("\"music\":true") != std::string::npos) entry += " music";
            if (line.find("\"loop\":true") != std::string::npos) entry += " loop";
            out.push_back(entry);
        }
        return out;
    }
    void ForgetSounds() { Sounds(); }

    // The panel as the window shows it.
    static uint16_t Pixel(int32_t x, int32_t y) { return plat::testing::PresentedPanel()[y * 240 + x]; }

    std::vector<std::string> log;

private:
    std::vector<std::unique_ptr<RecordingView>> stands_;
    size_t traceSeen_ = 0;
};
