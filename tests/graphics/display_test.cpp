#include "graphics/display.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/blit.h"
#include "platform/testing.h"

namespace {

using gfx::Display;

uint16_t PanelAt(int32_t x, int32_t y) { return plat::testing::PresentedPanel()[y * 240 + x]; }

// Each surface pixel holds its own position.
void Number(gfx::Surface& s) {
    for (int32_t y = 0; y < static_cast<int32_t>(s.height); ++y) {
        for (uint32_t x = 0; x < s.width; ++x) s.Row(y)[x] = static_cast<uint16_t>(1 + y * 240 + static_cast<int32_t>(x));
    }
}

std::vector<uint16_t> PanelCopy() {
    const uint16_t* p = plat::testing::PresentedPanel();
    return std::vector<uint16_t>(p, p + 240 * 320);
}

TEST(DisplaySurface, RowsStartOnFourByteBoundaries) {
    EXPECT_EQ(gfx::DisplaySurface(240, 320).pitch, 480u);
    EXPECT_EQ(gfx::DisplaySurface(239, 2).pitch, 480u);
    EXPECT_EQ(gfx::DisplaySurface(1, 1).pitch, 4u);
    gfx::DisplaySurface odd(3, 2);
    gfx::FillSurface(odd, 0x1234);
    EXPECT_EQ(odd.At(2, 1), 0x1234);
    EXPECT_FALSE(odd.ownsPixels);
}

// Offset zero is the whole surface; a shifted copy leaves the uncovered
// strip, and beyond a whole screen copies nothing but still presents once;
// rectangles are copied in place and cut to the surface.
TEST(Presents, WholeShiftedAndRectangles) {
    plat::testing::Reset();
    Display display;
    ASSERT_EQ(display.GetDisplaySurface().width, 240u);
    const gfx::Surface& surface = display.GetDisplaySurface();
    Number(display.GetDisplaySurface());
    display.PresentAll();
    const auto whole = PanelCopy();
    EXPECT_EQ(whole[319 * 240 + 239], static_cast<uint16_t>(1 + 319 * 240 + 239));
    plat::testing::Reset();
    display.PresentOffset(0, 0);
    EXPECT_EQ(PanelCopy(), whole);

    plat::testing::Reset();
    display.PresentOffset(-4, 6);  // 236 x 314 from surface (4, 0) to window (0, 6)
    EXPECT_EQ(PanelAt(0, 6), surface.At(4, 0));
    EXPECT_EQ(PanelAt(235, 319), surface.At(239, 313));
    EXPECT_EQ(PanelAt(0, 5), 0);
    EXPECT_EQ(PanelAt(236, 100), 0);
    plat::testing::Reset();
    display.PresentOffset(300, -400);
    EXPECT_EQ(PanelAt(0, 0), 0);

    display.PresentRects(nullptr, 0);
    EXPECT_EQ(PanelAt(0, 0), 0);
    const gfx::Rect rects[] = {{10, 20, 12, 22}, {230, 310, 260, 400}, {-50, -50, -10, -10}};
    display.PresentRects(rects, 3);
    EXPECT_EQ(plat::testing::PresentCount(), 3u);
    EXPECT_EQ(PanelAt(11, 21), surface.At(11, 21));
    EXPECT_EQ(PanelAt(12, 21), 0);
    EXPECT_EQ(PanelAt(239, 319), surface.At(239, 319));
}

}  // namespace
