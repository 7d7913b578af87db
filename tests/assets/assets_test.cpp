#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numbers>
#include <string>
#include <vector>

#include "graphics/lz77.h"
#include "graphics/strip_font.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "resources/picture_pack.h"
#include "resources/resource_table.h"
#include "resources/wave_pack.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/fonts.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/resource_source.h"
#include "tools/assetgen/sound_source.h"
#include "tools/assetgen/sounds/sound_bank.h"

namespace {

using assetgen::Picture;
using assetgen::StripFontInfo;

const std::map<uint16_t, Picture>& All() {
    static const std::map<uint16_t, Picture> pictures = [] {
        std::map<uint16_t, Picture> m;
        for (Picture& p : assetgen::BuildPictures()) m.emplace(p.id, std::move(p));
        return m;
    }();
    return pictures;
}

// Runs of ids: first, last, the size the game loads them at, keyed or not.
TEST(PictureInventory, EveryLoadedIdExistsAtItsSizeAndNoOthersWithItsKeyOnlyAroundTheArt) {
    const struct { int first, last, width, height; bool keyed; } runs[] = {
        {146, 148, 240, 320, false}, {163, 170, 68, 68, true}, {192, 199, 68, 68, true}, {200, 215, 48, 48, true}, {244, 252, 26, 96, true},
        {253, 253, 62, 68, true}, {254, 254, 32, 34, true}, {255, 255, 22, 700, true}, {256, 260, 34, 40, true}, {261, 261, 56, 36, true},
        {262, 263, 38, 28, true}, {264, 264, 36, 38, true}, {265, 265, 42, 44, true}, {266, 266, 40, 34, true}, {267, 267, 32, 16, true},
        {269, 269, 16, 16, true}, {270, 276, 70, 120, true}, {277, 283, 36, 60, true}, {284, 284, 34, 30, true}, {285, 285, 28, 30, true},
        {286, 287, 38, 24, true}, {289, 289, 34, 32, true}, {290, 290, 28, 32, true}, {291, 291, 44, 12, true}, {292, 292, 50, 34, true},
        {293, 293, 20, 16, true}, {294, 294, 70, 52, true}, {295, 295, 70, 44, true}, {296, 296, 18, 38, true}, {297, 297, 40, 32, true},
        {298, 298, 24, 10, true}, {299, 299, 32, 20, true}, {300, 300, 14, 14, true}, {301, 301, 42, 50, true}, {302, 302, 12, 10, true},
        {303, 303, 28, 38, true}, {304, 312, 108, 80, true}, {313, 324, 22, 22, true}, {325, 327, 24, 24, true}, {328, 329, 36, 32, true},
        {330, 339, 18, 26, true}, {340, 340, 30, 38, true}, {341, 346, 22, 22, true}, {347, 347, 20, 48, true}, {348, 348, 20, 22, true},
        {349, 349, 20, 48, true}, {350, 350, 180, 180, true}, {351, 351, 220, 212, true}, {352, 353, 46, 18, false}, {355, 355, 240, 320, false},
        {358, 359, 40, 122, false}, {360, 361, 40, 82, false}, {362, 363, 40, 92, false}, {364, 365, 40, 158, true}, {366, 367, 40, 152, false},
        {368, 369, 40, 110, false}, {370, 370, 240, 320, false}, {371, 372, 26, 42, false}, {373, 374, 26, 112, false}, {375, 376, 26, 24, false},
        {377, 378, 18, 35, false}, {379, 380, 18, 184, false}, {383, 383, 240, 320, false}, {384, 385, 42, 20, false}, {386, 387, 26, 128, false},
        {388, 389, 42, 20, false}, {390, 391, 26, 42, false}, {392, 393, 26, 44, false}, {394, 395, 26, 90, false}, {396, 397, 26, 88, false},
        {398, 398, 240, 320, false}, {399, 400, 26, 94, false}, {401, 406, 118, 216, false}, {407, 407, 20, 112, true}, {408, 408, 20, 164, true},
        {409, 409, 20, 154, true}, {410, 410, 20, 92, true}, {411, 411, 20, 144, true}, {412, 412, 20, 134, true}, {413, 413, 20, 172, true},
        {415, 415, 20, 152, true}, {416, 416, 20, 144, true}, {417, 417, 20, 186, true}, {418, 418, 20, 176, true}, {419, 419, 20, 168, true},
        {420, 420, 18, 126, true}, {422, 423, 26, 44, false}, {424, 425, 26, 98, false}, {426, 501, 20, 20, false}, {502, 502, 240, 320, false},
        {503, 503, 18, 554, true}, {504, 505, 26, 88, false}, {506, 506, 20, 20, false}, {509, 509, 150, 200, false}, {511, 511, 168, 260, false},
        {518, 518, 170, 100, true}, {519, 528, 24, 88, false}, {532, 532, 100, 168, true}, {533, 533, 24, 40, false}, {534, 534, 24, 86, false},
        {581, 581, 58, 184, true}, {583, 583, 240, 320, false}, {584, 584, 36, 86, false},
    };
    size_t expected = 0;
    for (const auto& r : runs) {
        for (int id = r.first; id <= r.last; ++id, ++expected) {
            const auto it = All().find(static_cast<uint16_t>(id));
            ASSERT_NE(it, All().end()) << "missing picture " << id;
            const Picture& p = it->second;
            EXPECT_TRUE(p.width == r.width && p.height == r.height && p.keyed == r.keyed && p.pixels.size() == static_cast<size_t>(r.width * r.height)) << id;
        }
    }
    EXPECT_TRUE(expected == 308u && All().size() == expected);
    // Keys lie at the key pixel and nowhere in the art: the hunt's a dark shadow, the logo's and the introduction's black.
    for (const auto& [id, p] : All()) {
        if (!p.keyed) continue;
        EXPECT_FALSE(p.OpaqueAt(p.keyX, p.keyY)) << id;
        const uint16_t key = p.Key();
        size_t art = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                art += p.OpaqueAt(x, y) ? 1 : 0;
                ASSERT_EQ(p.At(x, y) == key, !p.OpaqueAt(x, y)) << "picture " << id << " at " << x << "," << y;
            }
        }
        EXPECT_GT(art, 0u) << "picture " << id << " is all key";
        const int r = key >> 11, g = (key >> 5) & 63, b = key & 31;
        const bool black = id == 350 || id == 351 || (id >= 407 && id <= 420);
        EXPECT_TRUE(black ? key == 0 : (r < 10 && r >= b && g < 20)) << id;  // dark, no cooler than neutral
    }
}

// Opaque buttons are whole rectangles: their corners continue what lies beneath them.
TEST(PictureSurrounds, ButtonCornersMatchTheirBackdropAndThePanelShowsTheNormalLooks) {
    // Where the picture lies inside the backdrop, in stored coordinates, and how many looks it has.
    const struct { uint16_t picture, backdrop; int x, y, looks = 2; } placements[] = {
        {366, 355, 11, 0},   {358, 355, 57, 0},   {368, 355, 103, 0},  {362, 355, 149, 0},  {360, 355, 195, 0},
        {371, 370, 200, 140}, {373, 370, 200, 14}, {375, 370, 144, 31}, {375, 370, 144, 154},
        {390, 383, 200, 14}, {386, 383, 200, 72}, {399, 383, 200, 214}, {388, 383, 137, 19}, {384, 383, 22, 19},
        {392, 398, 200, 13}, {394, 398, 200, 70}, {396, 398, 200, 174}, {504, 398, 200, 174}, {506, 398, 80, 280, 1},
        {422, 502, 203, 27}, {424, 502, 203, 86}, {426, 502, 200, 287}, {428, 502, 166, 287}, {446, 502, 59, 287},
        {448, 502, 59, 253}, {498, 502, 200, 253}, {500, 502, 200, 219}, {584, 583, 200, 10, 1},
        {520, 518, 104, 6, 1},  {522, 518, 76, 6, 1},   {524, 518, 16, 6, 1},   {526, 518, 133, 6, 1},  {528, 518, 44, 6, 1},
        {533, 532, 68, 115, 1}, {534, 532, 68, 9, 1},   {519, 518, 104, 6, 0},  {521, 518, 76, 6, 0},   {523, 518, 16, 6, 0},
        {525, 518, 133, 6, 0},  {527, 518, 44, 6, 0},
    };
    for (const auto& pl : placements) {
        const Picture& bg = All().at(pl.backdrop);
        for (int look = 0; look < pl.looks; ++look) {
            const Picture& shown = All().at(static_cast<uint16_t>(pl.picture + look));
            for (int x : {0, shown.width - 1})
                for (int y : {0, shown.height - 1})
                    EXPECT_EQ(shown.At(x, y), bg.At(pl.x + x, pl.y + y)) << "picture " << shown.id << " corner " << x << "," << y;
        }
        const Picture& p = All().at(pl.picture);  // without looks: shown in full on the panel
        for (int y = 0; pl.looks == 0 && y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) ASSERT_EQ(p.At(x, y), bg.At(pl.x + x, pl.y + y)) << p.id << " at " << x << "," << y;
    }
}

// The logo turns on black: outside its circle nothing may show.
TEST(PictureContent, SpotLooksFramesMirrorsAndTheLogo) {
    const Picture& spot = All().at(302);
    int art = 0;
    for (int y = 0; y < spot.height; ++y)
        for (int x = 0; x <= 5; ++x) art += spot.OpaqueAt(x, y) ? 1 : 0;
    EXPECT_GE(art, 10);
    // Each frame of an animation and each pair of looks differ from the next.
    std::vector<std::pair<int, int>> runs = {{163, 170}, {192, 199}, {200, 207}, {208, 215}, {244, 252}, {256, 260}, {270, 276},
                                             {277, 283}, {307, 312}, {313, 324}, {330, 334}, {341, 346}, {375, 376}};
    for (int id : {352, 358, 360, 362, 364, 366, 368, 371, 373, 377, 384, 386, 388, 390, 392, 394, 396, 399, 422, 424, 426, 446, 498, 500, 504,
                   519, 521, 523, 525, 527})
        runs.emplace_back(id, id + 1);
    for (auto [first, last] : runs)
        for (int id = first; id < last; ++id) EXPECT_NE(All().at(static_cast<uint16_t>(id)).pixels, All().at(static_cast<uint16_t>(id + 1)).pixels) << id;
    for (int f = 0; f < 8; ++f) {
        const Picture& left = All().at(static_cast<uint16_t>(163 + f));
        const Picture& right = All().at(static_cast<uint16_t>(192 + f));
        int same = 0;
        for (int y = 0; y < left.height; ++y)
            for (int x = 0; x < left.width; ++x) same += left.OpaqueAt(x, y) == right.OpaqueAt(x, left.height - 1 - y) ? 1 : 0;
        EXPECT_GT(same, left.width * left.height * 98 / 100) << f;
    }
    const Picture& logo = All().at(350);
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            ASSERT_TRUE((x - 89.5) * (x - 89.5) + (y - 89.5) * (y - 89.5) <= 89.0 * 89.0 || logo.At(x, y) == 0) << x << "," << y;
}

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
        for (int32_t p = g.start; p < g.start + g.width; ++p)
            for (int32_t x = 1; x < GetParam().height; ++x) ink += strip.At(x, length - 1 - p) != strip.At(0, length - 1) ? 1 : 0;
        return ink;
    }

    StripFont font_;
};

TEST_P(StripFontTest, EveryCharacterFindsItsDrawnGlyphTheRestTheBlankAndTextsFitTheirPlaces) {
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
    for (char c : std::string("0123456789:ABCDEFGHIJKLMNOPQRSTUVWXYZ")) EXPECT_EQ(Start(c), font_.glyph(static_cast<uint8_t>(chars.find(c))).start) << c;
    // Punctuation below the base and the characters < = > ? @ share glyphs 12..16.
    for (int i = 0; i < 5; ++i) {
        const uint16_t shared = font_.glyph(static_cast<uint8_t>(12 + i)).start;
        EXPECT_TRUE(Start(".,'()"[i]) == shared && Start(static_cast<char>('<' + i)) == shared) << i;
    }
    // Space, the name-entry's blank 'a' and the minus sign fall on the blank.
    for (char c : std::string(" a-!")) EXPECT_EQ(Start(c), font_.glyph(kBlank).start) << c;
    const struct { uint16_t font; const char* text; int room; } texts[] = {
        {assetgen::kHuntFont.id, "88:88", 95},      // the clock ends at the pause corner
        {assetgen::kHuntFont.id, "8888888", 215},   // the score never reaches the clock
        {assetgen::kMenuFont.id, "WWWWWWWW", 157},  // a full name on the name plate
        {assetgen::kMenuFont.id, "MMMMMMMM", 140},  // a name in the table
        {assetgen::kMenuFont.id, "SHOT LEAVES:", 170},
    };
    for (const auto& t : texts) {
        int w = 0;
        for (const char* c = t.text; *c != '\0'; ++c) w += font_.glyph(static_cast<uint8_t>(*c - 48)).width;
        EXPECT_TRUE(t.font != GetParam().id || w <= t.room) << t.text << " " << w;
    }
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
    // '[' moves down by 6 like the small letters; '{', past small z, no longer.
    EXPECT_TRUE(start('Z') == 43 && start('b') == 45 && start('z') == 69 && start('[') == 38 && start('{') == 76);
    ASSERT_TRUE(font.load(1, 22, 2, 48) == 0 && font.lastGlyph() == 0);
    for (int code = 0; code < 256; ++code) EXPECT_EQ(font.glyph(static_cast<uint8_t>(code)).width, 0) << code;
    font.release();
    EXPECT_EQ(font.picture().surface, nullptr);
    ASSERT_TRUE(font.load(assetgen::kHuntFont.id, 22, 700, 48) == 0 && font.lastGlyph() == 43);
    EXPECT_EQ(font.glyph(42).start + font.glyph(42).width, font.glyph(200).start);
}

// Drawing fills the font caches; empty them once every test has run.
class FontCacheRelease : public ::testing::Environment {
public:
    void TearDown() override { assetgen::ReleaseFontCaches(); }
};

const auto* const kFontCacheRelease = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

::testing::AssertionResult DecodesTo(const uint8_t* bytes, size_t size, const assetgen::Picture& p, size_t spare = 16) {
    std::vector<uint8_t> raw(p.pixels.size() * 2 + spare);
    raw.resize(gfx::DecodeResource(plat::ResourceData{bytes, static_cast<uint32_t>(size)}, raw.data(), static_cast<uint32_t>(raw.size())));
    bool same = raw.size() == p.pixels.size() * 2;
    for (size_t i = 0; same && i < p.pixels.size(); ++i) same = (raw[2 * i] | (raw[2 * i + 1] << 8)) == p.pixels[i];
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "picture " << p.id;
}

uint32_t TablePlace(const char* type, uint16_t id, uint32_t* size) {
    for (uint32_t i = 0; i < resources::TableSize(); ++i) {
        const resources::Entry& e = resources::Table()[i];
        if (std::strcmp(e.type, type) == 0 && e.id == id) return *size = e.size, e.offset;
    }
    ADD_FAILURE() << type << " " << id << " is not in the table";
    return *size = 0, 0;
}

// At most one trailing byte after a picture's stream.
TEST(EmbeddedTable, SortedAndEveryPictureAndSoundUnpacksToExactlyWhatWasBuilt) {
    const resources::Entry* t = resources::Table();
    for (uint32_t i = 1; i < resources::TableSize(); ++i) {
        const int type = std::strcmp(t[i - 1].type, t[i].type);
        EXPECT_TRUE(type < 0 || (type == 0 && t[i - 1].id < t[i].id)) << i;
    }
    const assetgen::PictureList pictures = assetgen::BuildPictures();
    for (const assetgen::Picture& p : pictures) {
        uint32_t size = 0;
        const uint8_t* bytes = resources::Blob() + TablePlace("PCT", p.id, &size);
        const uint32_t length = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
        EXPECT_TRUE((length + 4 == size || length + 5 == size) && DecodesTo(bytes, size, p, 0)) << p.id;
    }
    std::map<uint16_t, std::vector<resources::PictureBytes>> unpacked;  // by the id holding the pack
    std::map<uint16_t, uint16_t> holder;
    size_t stored = 0, packs = 0;
    for (const assetgen::Resource& r : assetgen::PictureResources(pictures, false)) stored += r.bytes.size();
    for (const assetgen::Resource& r : assetgen::PictureResources(pictures, true)) {
        holder[r.id] = r.packedWith.value_or(r.id);
        if (r.packedWith) continue;
        packs += r.bytes.size();
        std::vector<resources::PictureBytes> cut;
        ASSERT_TRUE(resources::UnpackPictures(r.bytes.data(), r.bytes.size(), unpacked[r.id]));
        EXPECT_FALSE(resources::UnpackPictures(r.bytes.data(), r.bytes.size() - 8, cut));
    }
    EXPECT_TRUE(packs * 2 < stored && unpacked.size() == 2 && unpacked[351].size() == 3);
    for (const assetgen::Picture& p : pictures) {
        const std::vector<resources::PictureBytes>& pack = unpacked[holder[p.id]];
        const auto hit = std::find_if(pack.begin(), pack.end(), [&](const auto& u) { return u.id == p.id; });
        ASSERT_NE(hit, pack.end()) << p.id;
        EXPECT_TRUE(DecodesTo(hit->bytes.data(), hit->bytes.size(), p));
    }
    // Every sound, found or walked, unpacks to exactly its wave file; under half its size in the table.
    size_t sounds = 0, raw = 0, packed = 0;
    for (const assetgen::Resource& s : assetgen::SoundResources()) {
        plat::ResourceData data{};
        ASSERT_TRUE(plat::FindResource("WAVE", s.id, data)) << s.id;
        EXPECT_TRUE(data.size == s.bytes.size() && std::memcmp(data.bytes, s.bytes.data(), data.size) == 0) << s.id;
        uint32_t size = 0;
        TablePlace("WAVE", s.id, &size);
        packed += size;
        raw += s.bytes.size();
        ++sounds;
    }
    EXPECT_TRUE(sounds == 19u && packed * 2 < raw);
    size_t visited = 0;
    plat::ForEachResource("WAVE", [](uint16_t id, const plat::ResourceData& data, void* count) {
        plat::ResourceData found{};
        EXPECT_TRUE(plat::FindResource("WAVE", id, found) && data.bytes == found.bytes && data.size == found.size) << id;
        ++*static_cast<size_t*>(count);
    }, &visited);
    EXPECT_EQ(visited, 19u);
}

// Cut short, unpacking says so and writes no further than asked.
TEST(Packing, WavesAndPictureRunsRoundTrip) {
    std::vector<uint8_t> jumps, ramp(700), silence(300, 0x80), rows(300);
    for (int i = 0; i < 600; ++i) jumps.push_back(i % 2 == 0 ? 0 : 255);
    for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i * 7);
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{}, jumps, ramp, silence}) {
        const std::vector<uint8_t> packed = resources::PackWave(bytes.data(), bytes.size());
        std::vector<uint8_t> out(bytes.size() + 1, 0xA5);
        EXPECT_TRUE(resources::UnpackWave(packed.data(), packed.size(), out.data(), bytes.size()) && std::equal(bytes.begin(), bytes.end(), out.begin()) &&
                    out.back() == 0xA5);
        EXPECT_TRUE(bytes.empty() || !resources::UnpackWave(packed.data(), packed.size() / 2, out.data(), bytes.size()));
    }
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i % 20 < 10 ? i % 7 : i * 13);
    const std::vector<std::pair<std::vector<uint8_t>, uint32_t>> cases = {
        {{}, 1}, {{7}, 1}, {{1, 2, 3, 4, 5, 6, 7, 8}, 2}, {std::vector<uint8_t>(100, 0x5A), 4}, {rows, 10}};
    for (const auto& [bytes, width] : cases) {
        const std::vector<uint8_t> pct = resources::EncodeRuns(bytes.data(), bytes.size(), width);
        std::vector<uint8_t> out(bytes.size() + 16);
        out.resize(gfx::DecodeResource(plat::ResourceData{pct.data(), static_cast<uint32_t>(pct.size())}, out.data(), static_cast<uint32_t>(out.size())));
        EXPECT_EQ(out, bytes) << bytes.size();
    }
}

TEST(AssetBuilder, WritesTheSameTableTwice) {
    const auto dir = std::filesystem::temp_directory_path() / ("assetgen_repro_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::string written[2];
    for (int run = 0; run < 2; ++run) {
        const std::string path = (dir / (std::to_string(run) + ".cpp")).string();
        ASSERT_EQ(std::system((std::string(ASSETGEN_PATH) + " --table " + path + " > /dev/null").c_str()), 0);
        std::ifstream f(path, std::ios::binary);
        written[run] = {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    EXPECT_TRUE(written[0].size() > 1000000u && written[0] == written[1]) << "two runs of the builder differ";
    std::filesystem::remove_all(dir);
}

// The little-endian field of `bytes` bytes at `at`.
uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<size_t>(i));
    return v;
}

// Headroom for two voices; a loop's data[length] == data[0], as the mixer wraps to index 1.
TEST(SoundBank, EverySoundHasItsFormatChunksAndLevels) {
    const struct { uint16_t id; uint32_t rate, dataBytes; bool loops; const char* after; /* chunks after "data" */ } table[] = {
        {535, 22050, 84808, true, ""}, {537, 22050, 211806, true, ""}, {538, 22050, 5997, false, ""}, {540, 22050, 6434, false, ""},
        {543, 11025, 6207, false, ""}, {544, 11025, 2245, false, ""}, {545, 22050, 30208, false, "DISPDISPLIST"}, {546, 11025, 792, false, "LIST"},
        {550, 22050, 17115, false, ""}, {551, 22050, 14403, false, ""}, {555, 22050, 15404, false, ""}, {556, 22050, 14254, false, ""},
        {557, 11025, 8384, false, ""}, {558, 44100, 41281, false, ""}, {562, 22050, 17468, false, ""}, {563, 22050, 15670, false, ""},
        {564, 22050, 25998, false, ""}, {578, 22050, 12671, false, ""}, {579, 11025, 47037, false, "LIST"},
    };
    const std::vector<SoundAsset> bank = BuildSounds();
    ASSERT_EQ(bank.size(), std::size(table));
    for (size_t n = 0; n < bank.size(); ++n) {
        const auto& e = table[n];
        SCOPED_TRACE(e.id);
        ASSERT_EQ(bank[n].id, e.id);
        const std::vector<uint8_t>& wav = bank[n].wav;
        EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4) + std::string(wav.begin() + 8, wav.begin() + 12), "RIFFWAVE");
        EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
        std::string tags;
        size_t at = 12;
        for (uint32_t size = 0; at + 8 <= wav.size(); at += 8 + size + (size % 2 != 0 && at + 8 + size < wav.size() ? 1 : 0)) {
            size = Le(wav, at + 4, 4);
            tags.append(wav.begin() + static_cast<long>(at), wav.begin() + static_cast<long>(at) + 4);
        }
        EXPECT_EQ(at, wav.size()) << "chunks do not tile the file";
        EXPECT_EQ(tags, std::string("fmt data") + e.after);
        // Size, PCM, mono, 8 bits, rate; "data" directly after the 16-byte format chunk.
        EXPECT_EQ(std::vector<uint32_t>({Le(wav, 16, 4), Le(wav, 20, 2), Le(wav, 22, 2), Le(wav, 34, 2), Le(wav, 24, 4), Le(wav, 40, 4)}),
                            std::vector<uint32_t>({16, 1, 1, 8, e.rate, e.dataBytes}));

        const uint8_t* d = wav.data() + 44;
        const size_t played = e.dataBytes - 8;
        int peak = 0, largestStep = 0;
        double sum = 0;
        for (size_t i = 0; i < played; ++i) {
            peak = std::max(peak, std::abs(d[i] - 128));
            if (i > 0) largestStep = std::max(largestStep, std::abs(d[i] - d[i - 1]));
            sum += d[i] - 128;
        }
        EXPECT_TRUE(peak <= (e.loops ? 55 : 100) && peak >= (e.loops ? 30 : 50)) << "peak " << peak;
        EXPECT_LT(std::fabs(sum / static_cast<double>(played)), 1.0);
        if (e.loops) {
            EXPECT_EQ(d[played], d[0]);
            EXPECT_LE(std::max(std::abs(d[played - 1] - d[0]), std::abs(d[played] - d[1])), std::max(4, largestStep / 2));
        } else {
            EXPECT_LE(std::abs(d[0] - 128), 2);
            for (size_t i = played - 1; i < e.dataBytes; ++i) EXPECT_EQ(d[i], 128) << i;
        }
        if (e.id != 558) continue;
        // 558 is decimated by two without a filter: little energy may lie above the output's Nyquist frequency.
        const auto power = [&](double f) {
            std::complex<double> acc = 0;
            for (size_t i = 0; i < played; ++i) acc += (d[i] - 128.0) * std::polar(1.0, 2 * std::numbers::pi * f * static_cast<double>(i) / 44100);
            return std::norm(acc);
        };
        double low = 0, high = 0;
        for (double f = 155; f < 4000; f += 155) low += power(f);
        for (double f = 11500; f < 20000; f += 155) high += power(f);
        EXPECT_LT(high, low * 0.01);
    }
}

}  // namespace
