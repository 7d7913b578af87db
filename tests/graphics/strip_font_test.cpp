// The strip font's scan of its marker column and its character lookup.
#include <gtest/gtest.h>

#include "graphics/strip_font.h"
#include "platform/testing.h"

namespace {

constexpr uint16_t kHuntFont = 255;
constexpr uint16_t kNoPicture = 1;  // no such resource: the strip stays black

class StripFontTest : public ::testing::Test {
protected:
    void SetUp() override { plat::testing::Reset(); }

    uint16_t Start(char c) const { return font_.glyph(static_cast<uint8_t>(c - 48)).start; }

    StripFont font_;
};

TEST_F(StripFontTest, HuntStripScansToContiguousGlyphsAndLosesItsMarkers) {
    ASSERT_EQ(font_.load(kHuntFont, 22, 700, 48), 0);
    ASSERT_EQ(font_.lastGlyph(), 43);
    EXPECT_EQ(font_.height(), 22);
    uint16_t next = 0;
    for (int i = 0; i < 43; ++i) {
        const StripFont::Glyph g = font_.glyph(static_cast<uint8_t>(i));
        EXPECT_EQ(g.start, next) << i;
        EXPECT_GT(g.width, 0) << i;
        next = static_cast<uint16_t>(g.start + g.width);
    }
    const gfx::Surface& strip = *font_.picture().surface;
    const gfx::Colour background = strip.At(0, 699);
    for (int32_t row = 0; row < 700; ++row) ASSERT_EQ(strip.At(0, row), background) << row;
}

TEST_F(StripFontTest, TheScanStopsAtAFullTableAndSmallLettersFollowTheCapitals) {
    // A black strip is all marker: every row closes a glyph one pixel wide.
    ASSERT_EQ(font_.load(kNoPicture, 22, 300, 48), 0);
    ASSERT_EQ(font_.lastGlyph(), StripFont::kMaxGlyphs - 1);
    EXPECT_EQ(font_.glyph(0).width, 2);
    EXPECT_EQ(font_.glyph(98).start, 99);
    EXPECT_EQ(Start('Z'), 43);
    EXPECT_EQ(Start('['), 38);  // moved down by 6 like the small letters
    EXPECT_EQ(Start('b'), 45);
    EXPECT_EQ(Start('z'), 69);
    EXPECT_EQ(Start('{'), 76);  // past small z: no longer moved
    EXPECT_EQ(font_.glyph(250).start, 100);
}

TEST_F(StripFontTest, AStripWithoutMarkersHasOneEmptyGlyphAndAReloadStartsAfresh) {
    // Two rows leave nothing to scan: no glyph is ever closed.
    ASSERT_EQ(font_.load(kNoPicture, 22, 2, 48), 0);
    EXPECT_EQ(font_.lastGlyph(), 0);
    for (int code = 0; code < 256; ++code) EXPECT_EQ(font_.glyph(static_cast<uint8_t>(code)).width, 0) << code;
    font_.release();
    EXPECT_EQ(font_.picture().surface, nullptr);
    ASSERT_EQ(font_.load(kHuntFont, 22, 700, 48), 0);
    EXPECT_EQ(font_.lastGlyph(), 43);
    EXPECT_EQ(font_.glyph(42).start + font_.glyph(42).width, font_.glyph(200).start);
}

}  // namespace
