// The pixel operations: blends, blits, fills, the grey screen and rotation.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>
#include <span>
#include <tuple>
#include <vector>

#include "graphics/blit.h"
#include "graphics/effects.h"
#include "graphics/picture.h"

namespace {

using gfx::Colour;
using gfx::Point;
using gfx::Rect;
using gfx::Surface;

constexpr Colour kKey = 0xF81F;

std::vector<Colour> Pixels(const Surface& s) { return {s.pixels, s.pixels + s.width * s.height}; }

TEST(Blend, HalfAndAlphaFollowTheChannelFormulas) {
    EXPECT_EQ(gfx::Half(0xFFFF, 0x0000), 0x7BEF);
    std::mt19937 rng(9);
    for (int i = 0; i < 20000; ++i) {
        const auto a = static_cast<Colour>(rng());
        const auto b = static_cast<Colour>(rng());
        const Colour half = gfx::FromChannels(((gfx::Red8(a) + gfx::Red8(b)) >> 1) & 0xF8,
                                              ((gfx::Green8(a) + gfx::Green8(b)) >> 1) & 0xFC, (gfx::Blue8(a) + gfx::Blue8(b)) >> 1);
        ASSERT_EQ(gfx::Half(a, b), half) << a << " " << b;
        ASSERT_TRUE(gfx::Half(a, a) == a && gfx::Alpha(a, b, 1.0f) == a && gfx::Alpha(a, b, 0.0f) == b);
    }
    // Red 248 x 0.5 = 124 is kept as 120; 0.1f is a little above 0.1, so 24.8 truncates; out of range clamps.
    const std::tuple<Colour, Colour, float, Colour> alphas[] = {
        {0xF800, 0, 0.5f, 0x7800}, {0x001F, 0, 0.1f, 24 >> 3}, {0xFFFF, 0xFFFF, 3.0f, 0xFFFF}, {0xFFFF, 0, -1.0f, 0}};
    for (const auto& [a, b, alpha, want] : alphas) EXPECT_EQ(gfx::Alpha(a, b, alpha), want) << alpha;
}

Colour SoftRule(Colour s, Colour above, Colour d, bool firstRow) {
    if (firstRow || (s != kKey) == (above != kKey)) return s != kKey ? s : d;
    return gfx::Half(s, d);
}

// The per-pixel rules as stated, one pixel at a time.
struct PixelRule {
    const char* name;
    void (*blit)(const Surface&, Surface&, Point, const Rect&, Colour);
    Colour (*rule)(Colour s, Colour above, Colour d, bool firstRow);
};

const PixelRule kPixelRules[] = {
    {"copy", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour) { gfx::BlitCopy(s, d, p, r); },
     [](Colour s, Colour, Colour, bool) { return s; }},
    {"half", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour) { gfx::BlitHalf(s, d, p, r); },
     [](Colour s, Colour, Colour d, bool) { return gfx::Half(s, d); }},
    {"keyed", gfx::BlitKeyed, [](Colour s, Colour, Colour d, bool) { return s != kKey ? s : d; }},
    {"keyed half", gfx::BlitKeyedHalf, [](Colour s, Colour, Colour d, bool) { return s != kKey ? gfx::Half(s, d) : d; }},
    {"soft", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour key) { gfx::BlitKeyedSoft(s, d, p, r, key); },
     SoftRule},
    // The same, keeping what it covers: the kept copy is the destination as it was.
    {"soft keeping",
     [](const Surface& s, Surface& d, Point p, const Rect& r, Colour key) {
         Surface before(d.width, d.height), kept(static_cast<uint32_t>(r.Width()) + 1, static_cast<uint32_t>(r.Height()) + 2);
         gfx::BlitCopyWhole(d, before, Point{0, 0});
         gfx::BlitKeyedSoft(s, d, p, r, key, &kept, Point{1, 2});
         for (int32_t y = 0; y < r.Height(); ++y) for (int32_t x = 0; x < r.Width(); ++x) ASSERT_EQ(kept.At(1 + x, 2 + y), before.At(p.x + x, p.y + y));
     },
     SoftRule},
    {"keyed alpha", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour key) { gfx::BlitKeyedAlpha(s, d, p, r, key, 0.25f); },
     [](Colour s, Colour, Colour d, bool) { return s != kKey ? gfx::Alpha(s, d, 0.25f) : d; }},
};

// Widths around the eight pixels done at once; the soft blit never blends the first row.
TEST(PixelBlits, EveryRowWidthFollowsTheRules) {
    std::mt19937 rng(7);
    for (const PixelRule& r : kPixelRules) {
        for (int32_t w : {1, 7, 8, 9, 15, 16, 17, 31, 40}) {
            Surface src(static_cast<uint32_t>(w) + 3, 12);
            Surface dst(static_cast<uint32_t>(w) + 5, 14);
            for (Colour& c : std::span(src.pixels, src.width * src.height)) c = rng() % 5 < 2 ? kKey : static_cast<Colour>(rng());
            for (Colour& c : std::span(dst.pixels, dst.width * dst.height)) c = static_cast<Colour>(rng());
            const Rect from{1, 2, 1 + w, 12};
            const Point to{2, 1};
            std::vector<Colour> want = Pixels(dst);
            for (int32_t y = 0; y < from.Height(); ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    Colour& d = want[static_cast<size_t>((to.y + y) * (w + 5) + to.x + x)];
                    d = r.rule(src.At(from.left + x, from.top + y), src.At(from.left + x, from.top + y - 1), d, y == 0);
                }
            }
            r.blit(src, dst, to, from, kKey);
            ASSERT_EQ(Pixels(dst), want) << r.name << " " << w;
        }
    }
    Surface src(4, 4), whole(6, 6);
    for (int32_t i = 0; i < 16; ++i) src.pixels[i] = static_cast<Colour>(i + 1);
    gfx::BlitCopyWhole(src, whole, Point{2, 2});
    EXPECT_TRUE(whole.At(2, 2) == 1 && whole.At(5, 5) == 16 && whole.At(1, 1) == 0 && whole.At(1, 5) == 0);
}

// A fill reaches every pixel on both paths, and over memory with a padded pitch.
TEST(FillAndGray, EveryPixelOnEveryPathAndAQuarterOfTheChannelSum) {
    for (Colour c : {Colour{0x0000}, Colour{0xF800}, Colour{0x1234}}) {
        for (uint32_t w : {240u, 7u}) {
            Surface s(w, 5);
            gfx::FillSurface(s, c);
            ASSERT_EQ(Pixels(s), std::vector<Colour>(w * 5, c)) << c << " w " << w;
        }
    }
    std::vector<uint16_t> memory(4 * 3, 0);
    Surface padded(memory.data(), 3, 3, 8);
    gfx::FillSurface(padded, 0x1234);
    EXPECT_EQ(memory, (std::vector<uint16_t>{0x1234, 0x1234, 0x1234, 0, 0x1234, 0x1234, 0x1234, 0, 0x1234, 0x1234, 0x1234, 0}));

    // The grey screen: a quarter of the channel sum, rounding half up.
    // Wide enough for a whole block of 16 and a tail.
    std::vector<uint16_t> row;
    std::vector<Colour> grey;
    for (int i = 0; i < 19; ++i) {
        row.push_back(std::array<uint16_t, 3>{0xFFFF, 0x0000, 0xF800}[i % 3]);  // 248 / 4 = 62
        grey.push_back(std::array<Colour, 3>{0xBDD7, 0x0000, gfx::FromChannels(62, 62, 62)}[i % 3]);
    }
    Surface s(row.data(), 19, 1, 38);
    gfx::GrayDisplay(s);
    EXPECT_EQ(Pixels(s), grey);
    const std::pair<double, int32_t> rounded[] = {{2.5, 3}, {2.49, 2}, {-2.5, -2}, {-2.7, -2}, {0.0, 0}};
    for (const auto& [value, want] : rounded) EXPECT_EQ(gfx::RoundHalfUp(value), want) << value;
}

// 0 degrees is a quarter turn clockwise; corners outside the source keep what was there.
TEST(Rotate, TurnsByTheAngleAndKeepsWhatLiesOutside) {
    Surface src(180, 180);  // every pixel distinct enough to trace
    for (int32_t i = 0; i < 180 * 180; ++i) src.pixels[i] = static_cast<uint16_t>(i);
    Surface dst(240, 320);
    gfx::RotatePicture(src, dst, gfx::Rect{30, 70, 210, 250}, 0.0);
    for (int32_t y = 0; y < 180; y += 7) for (int32_t x = 0; x < 180; x += 5) ASSERT_EQ(dst.At(30 + 179 - y, 70 + x), src.At(x, y)) << x << "," << y;
    Surface quadrants(180, 180), half(180, 180);  // source (x, y) belongs near (y, 179 - x)
    for (int32_t i = 0; i < 180 * 180; ++i) quadrants.pixels[i] = static_cast<uint16_t>(1 + (i % 180 >= 90) + 2 * (i / 180 >= 90));
    gfx::RotatePicture(quadrants, half, gfx::Rect{0, 0, 180, 180}, 180.0);
    for (int32_t y = 10; y < 170; y += 20)
        for (int32_t x = 10; x < 170; x += 20)
            EXPECT_TRUE(std::abs(x - 90) < 10 || std::abs(y - 90) < 10 || half.At(y, 179 - x) == quadrants.At(x, y)) << x << "," << y;
    for (const double degrees : {90.0, 270.0}) {
        Surface turned(180, 180);
        gfx::RotatePicture(src, turned, gfx::Rect{0, 0, 180, 180}, degrees);
        EXPECT_GT(std::set<uint16_t>(turned.pixels, turned.pixels + 180 * 180).size(), 31000u) << degrees;
    }
    Surface square(200, 200);
    gfx::FillSurface(square, 0xABCD);
    gfx::RotatePicture(src, square, gfx::Rect{0, 0, 200, 200}, 135.0);
    EXPECT_TRUE(square.At(0, 0) == 0xABCD && square.At(199, 199) == 0xABCD && square.At(100, 100) != 0xABCD);
    gfx::FillSurface(square, 0xABCD);
    gfx::RotatePicture(src, square, gfx::Rect{10, 10, 210, 210}, 90.0);  // not within the target: nothing
    EXPECT_EQ(square.At(100, 100), 0xABCD);
}

}  // namespace
