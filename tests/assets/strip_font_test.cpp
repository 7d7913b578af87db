// The strip fonts, scanned the way the game scans them: glyph boundaries from
// the marker pixels of the first column, characters mapped from base 48.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/fonts.h"

namespace {

using assetgen::Picture;
using assetgen::StripFontInfo;

struct Glyph { int start, width; };

struct Scanned {
    std::vector<Glyph> glyphs;
    int lastGlyph = -1;
    Picture strip;

    // Character code c to glyph index, base 48.
    int Lookup(char c) const {
        auto code = static_cast<uint8_t>(static_cast<uint8_t>(c) - 48);
        if (code + 48 >= 91 && code + 48 <= 122) code = static_cast<uint8_t>(code - 6);
        if (code < lastGlyph) return code;
        switch (code) {
        case 0xFE: return 12;
        case 0xFC: return 13;
        case 0xF7: return 14;
        case 0xF8: return 15;
        case 0xF9: return 16;
        default: return lastGlyph;
        }
    }
    int Width(const std::string& text) const {
        int w = 0;
        for (char c : text) w += glyphs[static_cast<size_t>(Lookup(c))].width;
        return w;
    }
    // Pixels of a glyph that differ from the background, column 0 excluded.
    int Ink(int glyph) const {
        const Glyph& g = glyphs[static_cast<size_t>(glyph)];
        const uint16_t background = strip.At(0, strip.height - 1);
        int ink = 0;
        for (int p = g.start; p < g.start + g.width; ++p)
            for (int x = 1; x < strip.width; ++x) ink += strip.At(x, strip.height - 1 - p) != background ? 1 : 0;
        return ink;
    }
};

Scanned Scan(const StripFontInfo& font) {
    Scanned s;
    for (Picture& p : assetgen::BuildPictures())
        if (p.id == font.id) s.strip = std::move(p);
    Picture& strip = s.strip;
    const int length = strip.height;
    const uint16_t marker = strip.At(0, length - 2), background = strip.At(0, length - 1);
    strip.pixels[static_cast<size_t>((length - 2) * strip.width)] = background;
    s.glyphs.push_back({0, 0});
    int pos = 2;
    for (int row = length - 3; row >= 0; --row, ++pos) {
        if (strip.At(0, row) != marker) continue;
        s.glyphs.back().width = pos - s.glyphs.back().start;
        if (s.glyphs.size() == 100) break;
        s.glyphs.push_back({pos, 0});
        strip.pixels[static_cast<size_t>(row * strip.width)] = background;
    }
    s.lastGlyph = static_cast<int>(s.glyphs.size()) - 2;
    return s;
}

class StripFontTest : public ::testing::TestWithParam<StripFontInfo> {};

TEST_P(StripFontTest, ScansToTheFullGlyphSetEndingInABlank) {
    const Scanned s = Scan(GetParam());
    ASSERT_EQ(s.lastGlyph, 43);
    EXPECT_EQ(s.strip.width, GetParam().height);
    EXPECT_EQ(s.strip.height, GetParam().length);
    // The key is the background, and no marker is left after the scan.
    EXPECT_EQ(s.strip.Key(), s.strip.At(0, s.strip.height - 1));
    for (int y = 0; y < s.strip.height; ++y) ASSERT_EQ(s.strip.At(0, y), s.strip.Key()) << y;
    EXPECT_EQ(s.Ink(43), 0);
    for (int g = 0; g < 43; ++g) {
        if (g == 11) continue;  // the semicolon is never drawn
        EXPECT_GT(s.Ink(g), 10) << "glyph " << g;
    }
}

TEST_P(StripFontTest, CharactersResolveToTheirGlyphs) {
    const Scanned s = Scan(GetParam());
    const std::string_view chars = assetgen::GlyphCharacters(GetParam());
    ASSERT_EQ(chars.size(), 44u);
    for (char c : std::string("0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ"))
        EXPECT_EQ(chars[static_cast<size_t>(s.Lookup(c))], c) << c;
    // Space, the name-entry's blank 'a' and the minus sign fall on the blank.
    for (char c : std::string(" a-!")) EXPECT_EQ(s.Lookup(c), 43) << c;
    EXPECT_EQ(s.Lookup('.'), 12);
    EXPECT_EQ(s.Lookup(','), 13);
    EXPECT_EQ(s.Lookup(')'), 16);
}

INSTANTIATE_TEST_SUITE_P(Fonts, StripFontTest, ::testing::Values(assetgen::kHuntFont, assetgen::kMenuFont),
                         [](const ::testing::TestParamInfo<StripFontInfo>& font) { return font.param.id == 255 ? "Hunt" : "Menu"; });

TEST(StripFontLayout, HuntTextsFitTheirPlaces) {
    const Scanned s = Scan(assetgen::kHuntFont);
    EXPECT_LE(s.Width("88:88"), 95);     // the clock ends at the pause corner
    EXPECT_LE(s.Width("8888888"), 215);  // the score never reaches the clock
}

TEST(StripFontInfo, MenuTextsFitTheirPlaces) {
    const Scanned s = Scan(assetgen::kMenuFont);
    EXPECT_EQ(assetgen::GlyphCharacters(assetgen::kMenuFont)[13], '%');
    EXPECT_LE(s.Width("WWWWWWWW"), 157);  // a full name on the name plate
    EXPECT_LE(s.Width("MMMMMMMM"), 140);  // a name in the table
    EXPECT_LE(s.Width("SHOT LEAVES:"), 170);
}

}  // namespace
