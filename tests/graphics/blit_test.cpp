#include "graphics/blit.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/picture.h"

namespace {

using gfx::Colour;
using gfx::Point;
using gfx::Rect;
using gfx::Surface;

constexpr Colour kKey = 0xF81F;

// The blend as the 8-bit channel formula states it.
Colour HalfByChannels(Colour a, Colour b) {
    return gfx::FromChannels(((gfx::Red8(a) + gfx::Red8(b)) >> 1) & 0xF8, ((gfx::Green8(a) + gfx::Green8(b)) >> 1) & 0xFC,
                             (gfx::Blue8(a) + gfx::Blue8(b)) >> 1);
}

TEST(Blend, HalfMatchesTheChannelFormula) {
    EXPECT_EQ(gfx::Half(0xFFFF, 0x0000), 0x7BEF);
    std::mt19937 rng(9);
    for (int i = 0; i < 20000; ++i) {
        const auto a = static_cast<Colour>(rng());
        const auto b = static_cast<Colour>(rng());
        ASSERT_EQ(gfx::Half(a, b), HalfByChannels(a, b)) << a << " " << b;
        ASSERT_EQ(gfx::Half(a, a), a);
    }
}

TEST(Blend, AlphaEndsAndMiddle) {
    std::mt19937 rng(4);
    for (int i = 0; i < 1000; ++i) {
        const auto s = static_cast<Colour>(rng());
        const auto d = static_cast<Colour>(rng());
        ASSERT_EQ(gfx::Alpha(s, d, 1.0f), s);
        ASSERT_EQ(gfx::Alpha(s, d, 0.0f), d);
    }
    // Red 248 x 0.5 = 124, kept as 120: red 15 of 31.
    EXPECT_EQ(gfx::Alpha(0xF800, 0x0000, 0.5f), 0x7800);
    // 0.1 in single precision is a little above 0.1: 248 x 0.1 + 0 x 0.9 truncates to 24.
    EXPECT_EQ(gfx::Alpha(0x001F, 0x0000, 0.1f), 24 >> 3);
    // Out of range does not overflow the channels.
    EXPECT_EQ(gfx::Alpha(0xFFFF, 0xFFFF, 3.0f), 0xFFFF);
    EXPECT_EQ(gfx::Alpha(0xFFFF, 0x0000, -1.0f), 0x0000);
}

// The per-pixel rules as stated, one pixel at a time.
struct PixelRule {
    const char* name;
    void (*blit)(const Surface&, Surface&, Point, const Rect&, Colour);
    Colour (*rule)(Colour s, Colour above, Colour d, bool firstRow);
};

const PixelRule kPixelRules[] = {
    {"half", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour) { gfx::BlitHalf(s, d, p, r); },
     [](Colour s, Colour, Colour d, bool) { return gfx::Half(s, d); }},
    {"keyed", gfx::BlitKeyed, [](Colour s, Colour, Colour d, bool) { return s != kKey ? s : d; }},
    {"keyed half", gfx::BlitKeyedHalf, [](Colour s, Colour, Colour d, bool) { return s != kKey ? gfx::Half(s, d) : d; }},
    {"soft", gfx::BlitKeyedSoft,
     [](Colour s, Colour above, Colour d, bool firstRow) {
         if (firstRow || (s != kKey) == (above != kKey)) return s != kKey ? s : d;
         return gfx::Half(s, d);
     }},
    {"keyed alpha", [](const Surface& s, Surface& d, Point p, const Rect& r, Colour key) { gfx::BlitKeyedAlpha(s, d, p, r, key, 0.25f); },
     [](Colour s, Colour, Colour d, bool) { return s != kKey ? gfx::Alpha(s, d, 0.25f) : d; }},
};

// Rows shorter and longer than the eight pixels done at once, and ones that
// end part-way through eight; the destination around is untouched. The soft
// blit blends a run's top edge and the fringe under it, never the first row.
TEST(PixelBlits, EveryRowWidthFollowsTheRules) {
    std::mt19937 rng(7);
    for (const PixelRule& r : kPixelRules) {
        for (int32_t w : {1, 7, 8, 9, 15, 16, 17, 31, 40}) {
            Surface src(static_cast<uint32_t>(w) + 3, 12);
            Surface dst(static_cast<uint32_t>(w) + 5, 14);
            for (int32_t y = 0; y < 12; ++y) {
                for (int32_t x = 0; x < w + 3; ++x) src.Row(y)[x] = rng() % 5 < 2 ? kKey : static_cast<Colour>(rng());
            }
            for (int32_t y = 0; y < 14; ++y) {
                for (int32_t x = 0; x < w + 5; ++x) dst.Row(y)[x] = static_cast<Colour>(rng());
            }
            const Rect from{1, 2, 1 + w, 12};
            const Point to{2, 1};
            std::vector<Colour> want(dst.pixels, dst.pixels + dst.width * dst.height);
            for (int32_t y = 0; y < from.Height(); ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    Colour& d = want[static_cast<size_t>((to.y + y) * (w + 5) + to.x + x)];
                    d = r.rule(src.At(from.left + x, from.top + y), src.At(from.left + x, from.top + y - 1), d, y == 0);
                }
            }
            r.blit(src, dst, to, from, kKey);
            ASSERT_EQ(std::vector<Colour>(dst.pixels, dst.pixels + dst.width * dst.height), want) << r.name << " " << w;
        }
    }
}

TEST(CopyBlits, RegionsLandAtTheDestinationPoint) {
    Surface src(4, 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) src.Row(y)[x] = static_cast<Colour>(y * 4 + x + 1);
    }
    Surface dst(5, 5);
    gfx::BlitCopy(src, dst, Point{3, 2}, Rect{1, 1, 3, 4});
    EXPECT_EQ(dst.At(3, 2), 6);
    EXPECT_EQ(dst.At(4, 4), 15);
    EXPECT_EQ(dst.At(2, 2), 0);
    EXPECT_EQ(dst.At(3, 1), 0);

    Surface whole(6, 6);
    gfx::BlitCopyWhole(src, whole, Point{2, 2});
    EXPECT_EQ(whole.At(2, 2), 1);
    EXPECT_EQ(whole.At(5, 5), 16);
    EXPECT_EQ(whole.At(1, 1), 0);
}

TEST(Fill, EveryPixelOnEveryPath) {
    for (Colour c : {Colour{0x0000}, Colour{0xF800}, Colour{0x4242}, Colour{0x1234}}) {
        for (uint32_t w : {240u, 7u}) {
            Surface s(w, 5);
            gfx::FillSurface(s, c);
            for (int32_t y = 0; y < 5; ++y) {
                for (uint32_t x = 0; x < w; ++x) ASSERT_EQ(s.At(static_cast<int32_t>(x), y), c) << c << " w " << w;
            }
        }
    }
    // Over memory with a padded pitch: rows still start where the pitch says.
    std::vector<uint16_t> memory(4 * 3, 0);
    Surface padded(memory.data(), 3, 3, 8);
    gfx::FillSurface(padded, 0x1234);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(padded.At(x, y), 0x1234);
    }
}

}  // namespace
