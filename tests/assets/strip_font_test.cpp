// The strip font's scan of its marker column and its character lookup, on
// the built fonts and on strips without markers; and the texts fitting their places.
#include <gtest/gtest.h>

#include <string>

#include "graphics/strip_font.h"
#include "platform/testing.h"
#include "tools/assetgen/fonts.h"

namespace {

using assetgen::StripFontInfo;

constexpr int kBlank = 200;  // any code past the capitals' shift reaches the blank after Z

class StripFontTest : public ::testing::TestWithParam<StripFontInfo> {
protected:
    void SetUp() override {
        plat::testing::Reset();
        ASSERT_EQ(font_.load(GetParam().id, static_cast<uint8_t>(GetParam().height), GetParam().length, 48), 0);
    }
    uint16_t Start(char c) const { return font_.glyph(static_cast<uint8_t>(c - 48)).start; }
    // Pixels of a glyph that differ from the background, column 0 excluded.
    int Ink(int glyph) const {
        const StripFont::Glyph g = font_.glyph(static_cast<uint8_t>(glyph));
        const gfx::Surface& strip = *font_.picture().surface;
        const int32_t length = GetParam().length;
        int ink = 0;
        for (int32_t p = g.start; p < g.start + g.width; ++p) {
            for (int32_t x = 1; x < GetParam().height; ++x) ink += strip.At(x, length - 1 - p) != strip.At(0, length - 1) ? 1 : 0;
        }
        return ink;
    }

    StripFont font_;
};

TEST_P(StripFontTest, EveryCharacterFindsItsDrawnGlyphAndTheRestTheBlank) {
    ASSERT_EQ(font_.lastGlyph(), 43);
    EXPECT_EQ(Ink(kBlank), 0);
    uint16_t next = 0;
    for (int g = 0; g < 43; ++g) {
        EXPECT_EQ(font_.glyph(static_cast<uint8_t>(g)).start, next) << g;
        next = static_cast<uint16_t>(next + font_.glyph(static_cast<uint8_t>(g)).width);
        EXPECT_TRUE(g == 11 || Ink(g) > 10) << "glyph " << g;  // the semicolon is never drawn
    }
    for (int32_t row = 0; row < GetParam().length; ++row) ASSERT_EQ(font_.picture().surface->At(0, row), font_.picture().surface->At(0, 0));
    const std::string_view chars = assetgen::GlyphCharacters(GetParam());
    ASSERT_EQ(chars.size(), 44u);
    for (char c : std::string("0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
        EXPECT_EQ(Start(c), font_.glyph(static_cast<uint8_t>(chars.find(c))).start) << c;
    }
    // Punctuation below the base and the characters < = > ? @ share glyphs 12..16.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Start(".,'()"[i]), font_.glyph(static_cast<uint8_t>(12 + i)).start) << i;
        EXPECT_EQ(Start(static_cast<char>('<' + i)), font_.glyph(static_cast<uint8_t>(12 + i)).start) << i;
    }
    // Space, the name-entry's blank 'a' and the minus sign fall on the blank.
    for (char c : std::string(" a-!")) EXPECT_EQ(Start(c), font_.glyph(kBlank).start) << c;
}

INSTANTIATE_TEST_SUITE_P(Fonts, StripFontTest, ::testing::Values(assetgen::kHuntFont, assetgen::kMenuFont),
                         [](const ::testing::TestParamInfo<StripFontInfo>& font) { return font.param.id == 255 ? "Hunt" : "Menu"; });

// A black strip (no such picture) is all marker: every row closes a glyph.
TEST(StripFontScan, AFullTableAnEmptyOneAndAReload) {
    plat::testing::Reset();
    StripFont font;
    const auto start = [&font](char c) { return font.glyph(static_cast<uint8_t>(c - 48)).start; };
    ASSERT_EQ(font.load(1, 22, 300, 48), 0);
    ASSERT_EQ(font.lastGlyph(), StripFont::kMaxGlyphs - 1);
    EXPECT_TRUE(font.glyph(0).width == 2 && font.glyph(98).start == 99 && font.glyph(250).start == 100);
    EXPECT_TRUE(start('Z') == 43 && start('b') == 45 && start('z') == 69);
    EXPECT_EQ(start('['), 38);  // moved down by 6 like the small letters
    EXPECT_EQ(start('{'), 76);  // past small z: no longer moved
    ASSERT_EQ(font.load(1, 22, 2, 48), 0);
    EXPECT_EQ(font.lastGlyph(), 0);
    for (int code = 0; code < 256; ++code) EXPECT_EQ(font.glyph(static_cast<uint8_t>(code)).width, 0) << code;
    font.release();
    EXPECT_EQ(font.picture().surface, nullptr);
    ASSERT_EQ(font.load(assetgen::kHuntFont.id, 22, 700, 48), 0);
    EXPECT_EQ(font.lastGlyph(), 43);
    EXPECT_EQ(font.glyph(42).start + font.glyph(42).width, font.glyph(200).start);
}

TEST(StripFontLayout, TextsFitTheirPlaces) {
    const struct {
        StripFontInfo font;
        const char* text;
        int room;
    } texts[] = {
        {assetgen::kHuntFont, "88:88", 95},      // the clock ends at the pause corner
        {assetgen::kHuntFont, "8888888", 215},   // the score never reaches the clock
        {assetgen::kMenuFont, "WWWWWWWW", 157},  // a full name on the name plate
        {assetgen::kMenuFont, "MMMMMMMM", 140},  // a name in the table
        {assetgen::kMenuFont, "SHOT LEAVES:", 170},
    };
    plat::testing::Reset();
    for (const auto& t : texts) {
        StripFont font;
        ASSERT_EQ(font.load(t.font.id, static_cast<uint8_t>(t.font.height), t.font.length, 48), 0);
        int w = 0;
        for (const char* c = t.text; *c != '\0'; ++c) w += font.glyph(static_cast<uint8_t>(*c - 48)).width;
        EXPECT_LE(w, t.room) << t.text;
    }
}

}  // namespace
