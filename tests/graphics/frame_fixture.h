// A scene with no tiles over the test platform's panel, and helpers to put
// plain-coloured sprites on it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "graphics/blit.h"
#include "graphics/scene.h"
#include "platform/testing.h"

namespace gfxtest {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    gfx::Surface& Screen() { return scene_.GetDisplayList().GetDisplay().GetDisplaySurface(); }
    gfx::Colour Panel(int32_t x, int32_t y) const { return plat::testing::PresentedPanel()[y * gfx::kScreenWidth + x]; }

    // A sprite of one colour; it and its picture live as long as the test.
    gfx::Sprite& MakeSprite(int32_t x, int32_t y, uint16_t w, uint16_t h, gfx::Colour c, bool moving) {
        auto holder = std::make_unique<gfx::PictureHolder>();
        holder->picture = &holder->held;
        gfx::CreateBlankPicture(*holder->picture, w, h);
        gfx::FillSurface(*holder->picture->surface, c);
        auto sprite = std::make_unique<gfx::Sprite>();
        gfx::CreateSprite(*sprite, holder.get(), x, y, moving, false, false, 0);
        holders_.push_back(std::move(holder));
        sprites_.push_back(std::move(sprite));
        return *sprites_.back();
    }

    void FillScreen(gfx::Colour c) { gfx::FillSurface(Screen(), c); }

    std::vector<std::unique_ptr<gfx::PictureHolder>> holders_;
    std::vector<std::unique_ptr<gfx::Sprite>> sprites_;
    gfx::Scene scene_{1, 3, 240, 320};
};

}  // namespace gfxtest
