// A hunt-sized scene on the test platform, scrolled to the hunt's start, with
// the animation list the effects use.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/animation_list.h"
#include "graphics/scene.h"
#include "platform/core/panel_image.h"
#include "platform/testing.h"

namespace hudtest {

class HudTest : public ::testing::Test {
protected:
    static constexpr int32_t kStartScroll = 639;

    void SetUp() override {
        plat::testing::Reset();
        plat::testing::SetTick(1000);
        animations_.SetScene(&scene_);
        scene_.SetScroll(0, kStartScroll);
    }

    bool InScene(const gfx::Sprite& sprite) const {
        for (const gfx::SpriteList::Node* n = scene_.Sprites().Head(); n != nullptr; n = n->next) {
            if (n->sprite == &sprite) return true;
        }
        return false;
    }

    // Time passes and the animations take their step, as after an event.
    void Step(uint32_t ms) {
        plat::testing::AdvanceTick(ms);
        animations_.Step();
    }

    // With REEDSHOT_TEST_SHOTS set, the panel is written there as NAME.png to look at.
    static void Shoot(const char* name) {
        const char* folder = std::getenv("REEDSHOT_TEST_SHOTS");
        if (folder == nullptr) return;
        const std::string path = std::string(folder) + "/" + name + ".png";
        EXPECT_TRUE(plat::WriteViewPng(path, plat::testing::PresentedPanel())) << path;
    }

    gfx::Scene scene_{gfx::kGroundColumns, gfx::kGroundRows, 240, 320};
    AnimationList animations_;
};

}  // namespace hudtest
