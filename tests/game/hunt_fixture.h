// The application on the test platform with a store of its own, a scene
// whose animation list the test reads, the clock and the sounds played.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/game_app.h"
#include "app/input_event.h"
#include "game/target.h"
#include "graphics/scene.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"

namespace gametest {

class HuntTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::CloseStore();
        const auto dir = std::filesystem::path(::testing::TempDir()) / ("reedshot_game_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir);
        setenv("REEDSHOT_DATA_DIR", dir.c_str(), 1);
        plat::testing::Reset();
        ASSERT_TRUE(theApp.Initialise());
        scene_.SetAnimationList(&animated_);
        scene_.SetScroll(0, 639);
        tick_ = 1000;
        plat::testing::SetTick(tick_);
        SoundsPlayed();  // whatever the start-up played
    }
    void TearDown() override {
        theApp.Shutdown();
        plat::testing::CloseStore();
    }

    static InputEvent Event(uint32_t type, int32_t x = 0, int32_t y = 0) {
        return {.type = type, .x = static_cast<int16_t>(x), .y = static_cast<int16_t>(y), .keyCount = 0, .payload = {}};
    }
    void Advance(uint32_t ms) { plat::testing::SetTick(tick_ += ms); }

    // Sound ids played since the last call; 0 stands for "stop all".
    std::vector<int> SoundsPlayed() {
        std::vector<int> ids;
        const auto& lines = plat::testing::TraceLines();
        for (; traceRead_ < lines.size(); ++traceRead_) {
            const std::string& line = lines[traceRead_];
            if (line.find("\"event\":\"sound\"") == std::string::npos) continue;
            const size_t at = line.find("\"id\":");
            ids.push_back(at == std::string::npos ? 0 : std::stoi(line.substr(at + 5)));
        }
        return ids;
    }

    // What the application's animation list does after an event.
    void StepAnimations() {
        for (auto* n = animated_.Head(); n != nullptr; n = n->next) static_cast<AnimatedSprite*>(n->sprite)->AdvanceIfDue();
    }

    // Whether the animation list holds exactly these sprites.
    bool AnimatedAre(std::vector<const gfx::Sprite*> expected) const {
        std::vector<const gfx::Sprite*> held;
        for (auto* n = animated_.Head(); n != nullptr; n = n->next) held.push_back(n->sprite);
        std::sort(held.begin(), held.end());
        std::sort(expected.begin(), expected.end());
        return held == expected;
    }

    // A tap on the first pixel of the target's frame that is (or is not)
    // transparent, in screen coordinates of `scene` (default: ours).
    gfx::Point TapOn(const Target& t, bool transparent, const gfx::Scene* scene = nullptr) const {
        if (scene == nullptr) scene = &scene_;
        const gfx::Surface& s = *t.sprite().image->surface;
        for (int32_t row = 0; row < static_cast<int32_t>(s.height); ++row) {
            for (int32_t col = 0; col < static_cast<int32_t>(s.width); ++col) {
                if ((s.At(col, row) == t.sprite().key) != transparent) continue;
                return {t.sprite().x + col - scene->GetScrollX(), t.sprite().y + row - scene->GetScrollY()};
            }
        }
        ADD_FAILURE() << "no such pixel";
        return {};
    }

    gfx::Scene scene_{1, 3, 240, 320};
    gfx::SpriteList animated_;
    uint32_t tick_ = 0;
    size_t traceRead_ = 0;
};

}  // namespace gametest
