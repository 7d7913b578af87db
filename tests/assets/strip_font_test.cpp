// The built strip fonts, scanned by the game's own strip font: every glyph
// drawn where the game looks for it, and the texts fitting their places.
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
    StripFont::Glyph Of(char c) const { return font_.glyph(static_cast<uint8_t>(c - 48)); }
    // Pixels of a glyph that differ from the background, column 0 excluded.
    int Ink(int glyph) const {
        const StripFont::Glyph g = font_.glyph(static_cast<uint8_t>(glyph));
        const gfx::Surface& strip = *font_.picture().surface;
        const int32_t length = GetParam().length;
        const gfx::Colour background = strip.At(0, length - 1);
        int ink = 0;
        for (int32_t p = g.start; p < g.start + g.width; ++p) {
            for (int32_t x = 1; x < GetParam().height; ++x) ink += strip.At(x, length - 1 - p) != background ? 1 : 0;
        }
        return ink;
    }

    StripFont font_;
};

TEST_P(StripFontTest, EveryCharacterFindsItsDrawnGlyphAndTheRestTheBlank) {
    ASSERT_EQ(font_.lastGlyph(), 43);
    EXPECT_EQ(Ink(kBlank), 0);
    for (int g = 0; g < 43; ++g) {
        if (g == 11) continue;  // the semicolon is never drawn
        EXPECT_GT(Ink(g), 10) << "glyph " << g;
    }
    const std::string_view chars = assetgen::GlyphCharacters(GetParam());
    ASSERT_EQ(chars.size(), 44u);
    for (char c : std::string("0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ")) {
        EXPECT_EQ(Of(c).start, font_.glyph(static_cast<uint8_t>(chars.find(c))).start) << c;
    }
    // Punctuation below the base and the characters < = > ? @ share glyphs 12..16.
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Of(".,'()"[i]).start, font_.glyph(static_cast<uint8_t>(12 + i)).start) << i;
        EXPECT_EQ(Of(static_cast<char>('<' + i)).start, font_.glyph(static_cast<uint8_t>(12 + i)).start) << i;
    }
    // Space, the name-entry's blank 'a' and the minus sign fall on the blank.
    for (char c : std::string(" a-!")) EXPECT_EQ(Of(c).start, font_.glyph(kBlank).start) << c;
}

INSTANTIATE_TEST_SUITE_P(Fonts, StripFontTest, ::testing::Values(assetgen::kHuntFont, assetgen::kMenuFont),
                         [](const ::testing::TestParamInfo<StripFontInfo>& font) { return font.param.id == 255 ? "Hunt" : "Menu"; });

TEST(StripFontLayout, TextsFitTheirPlaces) {
    const struct {
        StripFontInfo font;
        const char* text;
        int room;
    } texts[] = {
        {assetgen::kHuntFont, "88:88", 95},         // the clock ends at the pause corner
        {assetgen::kHuntFont, "8888888", 215},      // the score never reaches the clock
        {assetgen::kMenuFont, "WWWWWWWW", 157},     // a full name on the name plate
        {assetgen::kMenuFont, "MMMMMMMM", 140},     // a name in the table
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
