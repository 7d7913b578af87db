#include "graphics/effects.h"

#include <gtest/gtest.h>

#include <set>

#include "graphics/blit.h"

namespace {

using gfx::Surface;

TEST(Gray, QuarterOfTheChannelSumAndRoundingHalfUp) {
    Surface s(3, 1);
    s.Row(0)[0] = 0xFFFF;
    s.Row(0)[1] = 0x0000;
    s.Row(0)[2] = 0xF800;  // 248 / 4 = 62
    gfx::GrayDisplay(s);
    EXPECT_EQ(s.At(0, 0), 0xBDD7);
    EXPECT_EQ(s.At(1, 0), 0x0000);
    EXPECT_EQ(s.At(2, 0), gfx::FromChannels(62, 62, 62));
    // Halves up, negatives toward zero.
    const std::pair<double, int32_t> rounded[] = {{2.5, 3}, {2.49, 2}, {-2.5, -2}, {-2.7, -2}, {0.0, 0}};
    for (const auto& [value, want] : rounded) EXPECT_EQ(gfx::RoundHalfUp(value), want) << value;
}

// Every pixel of a 180 x 180 source is distinct enough to trace.
void Number(Surface& s) {
    for (int32_t y = 0; y < 180; ++y) {
        for (int32_t x = 0; x < 180; ++x) s.Row(y)[x] = static_cast<uint16_t>(y * 180 + x);
    }
}

TEST(Rotate, ZeroDegreesIsAQuarterTurnClockwise) {
    Surface src(180, 180);
    Number(src);
    Surface dst(240, 320);
    gfx::RotatePicture(src, dst, gfx::Rect{30, 70, 210, 250}, 0.0);
    for (int32_t y = 0; y < 180; y += 7) {
        for (int32_t x = 0; x < 180; x += 5) {
            ASSERT_EQ(dst.At(30 + 179 - y, 70 + x), src.At(x, y)) << x << "," << y;
        }
    }
}

TEST(Rotate, HalfTurnIsAQuarterCounterClockwise) {
    // Quadrants of distinct colours: source (x, y) belongs near (y, 179 - x).
    Surface src(180, 180);
    for (int32_t y = 0; y < 180; ++y) {
        for (int32_t x = 0; x < 180; ++x) src.Row(y)[x] = static_cast<uint16_t>(1 + (x >= 90) + 2 * (y >= 90));
    }
    Surface dst(180, 180);
    gfx::RotatePicture(src, dst, gfx::Rect{0, 0, 180, 180}, 180.0);
    for (int32_t y = 10; y < 170; y += 20) {
        for (int32_t x = 10; x < 170; x += 20) {
            if (std::abs(x - 90) < 10 || std::abs(y - 90) < 10) continue;
            EXPECT_EQ(dst.At(y, 179 - x), src.At(x, y)) << x << "," << y;
        }
    }
}

TEST(Rotate, CornersOutsideTheSourceKeepThePreviousPixels) {
    Surface src(180, 180);
    Number(src);
    Surface dst(200, 200);
    gfx::FillSurface(dst, 0xABCD);
    gfx::RotatePicture(src, dst, gfx::Rect{0, 0, 200, 200}, 135.0);
    // Turned by 45 degrees, the square's corners fall outside it.
    EXPECT_EQ(dst.At(0, 0), 0xABCD);
    EXPECT_EQ(dst.At(199, 199), 0xABCD);
    EXPECT_NE(dst.At(100, 100), 0xABCD);
    // A rect outside the destination draws nothing at all.
    gfx::FillSurface(dst, 0xABCD);
    gfx::RotatePicture(src, dst, gfx::Rect{10, 10, 210, 210}, 90.0);
    EXPECT_EQ(dst.At(100, 100), 0xABCD);
}

// Turned by 90 or 270 degrees, the picture keeps nearly every source pixel
// (rounding doubles a few rows): each output step walks the source in both
// directions.
TEST(Rotate, QuarterTurnsKeepNearlyEveryPixel) {
    Surface src(180, 180);
    Number(src);
    for (const double degrees : {90.0, 270.0}) {
        Surface dst(180, 180);
        gfx::RotatePicture(src, dst, gfx::Rect{0, 0, 180, 180}, degrees);
        std::set<uint16_t> kept(dst.pixels, dst.pixels + 180 * 180);
        EXPECT_GT(kept.size(), 31000u) << degrees;
    }
}

}  // namespace
