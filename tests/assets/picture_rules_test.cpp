// The drawn pictures against what the game expects of them: ids and sizes,
// colour keys, surrounds that match what lies beneath, the bonus spot.
#include <gtest/gtest.h>

#include <map>

#include "tests/assets/expected_inventory.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/paint.h"

namespace {

using assetgen::Picture;

const std::map<uint16_t, Picture>& All() {
    static const std::map<uint16_t, Picture> pictures = [] {
        std::map<uint16_t, Picture> m;
        for (Picture& p : assetgen::BuildPictures()) m.emplace(p.id, std::move(p));
        return m;
    }();
    return pictures;
}

TEST(PictureInventory, EveryLoadedIdExistsAtItsSizeAndNoOthers) {
    const auto expected = ExpectedPictures();
    ASSERT_EQ(expected.size(), 308u);
    EXPECT_EQ(All().size(), expected.size());
    for (const ExpectedPicture& e : expected) {
        auto it = All().find(e.id);
        ASSERT_NE(it, All().end()) << "missing picture " << e.id;
        EXPECT_EQ(it->second.width, e.width) << e.id;
        EXPECT_EQ(it->second.height, e.height) << e.id;
        EXPECT_EQ(it->second.pixels.size(), static_cast<size_t>(e.width * e.height)) << e.id;
        EXPECT_EQ(it->second.keyed, e.keyed) << e.id;
    }
}

// The key lies at the key pixel and nowhere in the art; hunt keys are a dark
// shadow, the logo's and the introduction's black.
TEST(PictureKeys, KeyAtTheKeyPixelAndNowhereInTheArt) {
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
        if (id == 350 || id == 351 || (id >= 407 && id <= 420)) {
            EXPECT_EQ(key, 0x0000) << id;
            continue;
        }
        const int r = key >> 11, g = (key >> 5) & 63, b = key & 31;
        EXPECT_TRUE(r < 10 && r >= b && g < 20) << id;  // dark, no cooler than neutral
    }
}

// Opaque buttons are complete rectangles: their edges must continue what
// is beneath them where the game puts them.
struct Placement {
    uint16_t picture, backdrop;
    int x, y;  // where the picture lies inside the backdrop, stored coordinates
    int looks = 2;  // normal and pressed, or a single picture
};

TEST(PictureSurrounds, ButtonEdgesMatchTheirBackdrop) {
    const Placement placements[] = {
        {366, 355, 11, 0},   {358, 355, 57, 0},   {368, 355, 103, 0},  {362, 355, 149, 0},  {360, 355, 195, 0},
        {371, 370, 200, 140}, {373, 370, 200, 14}, {375, 370, 144, 31}, {375, 370, 144, 154},
        {390, 383, 200, 14}, {386, 383, 200, 72}, {399, 383, 200, 214}, {388, 383, 137, 19}, {384, 383, 22, 19},
        {392, 398, 200, 13}, {394, 398, 200, 70}, {396, 398, 200, 174}, {504, 398, 200, 174}, {506, 398, 80, 280, 1},
        {422, 502, 203, 27}, {424, 502, 203, 86}, {426, 502, 200, 287}, {428, 502, 166, 287}, {446, 502, 59, 287},
        {448, 502, 59, 253}, {498, 502, 200, 253}, {500, 502, 200, 219}, {584, 583, 200, 10, 1},
        {520, 518, 104, 6, 1},  {522, 518, 76, 6, 1},   {524, 518, 16, 6, 1},   {526, 518, 133, 6, 1},  {528, 518, 44, 6, 1},
        {533, 532, 68, 115, 1}, {534, 532, 68, 9, 1},
    };
    for (const Placement& pl : placements) {
        const Picture& p = All().at(pl.picture);
        const Picture& bg = All().at(pl.backdrop);
        for (int look = 0; look < pl.looks; ++look) {
            const Picture& shown = All().at(static_cast<uint16_t>(pl.picture + look));
            // Corner pixels lie outside the rounded plank.
            const int cx[] = {0, p.width - 1}, cy[] = {0, p.height - 1};
            for (int x : cx)
                for (int y : cy)
                    EXPECT_EQ(shown.At(x, y), bg.At(pl.x + x, pl.y + y))
                        << "picture " << shown.id << " corner " << x << "," << y << " on " << pl.backdrop;
        }
    }
}

TEST(PictureSurrounds, PausePanelAndPopupShowTheNormalLooks) {
    const Placement normals[] = {{519, 518, 104, 6}, {521, 518, 76, 6},  {523, 518, 16, 6},
                                 {525, 518, 133, 6}, {527, 518, 44, 6}};
    for (const Placement& pl : normals) {
        const Picture& p = All().at(pl.picture);
        const Picture& panel = All().at(pl.backdrop);
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                ASSERT_EQ(p.At(x, y), panel.At(pl.x + x, pl.y + y)) << p.id << " at " << x << "," << y;
    }
}

TEST(PictureContent, BonusSpotIsVisibleWhereTheTapReaches) {
    const Picture& spot = All().at(302);
    int art = 0;
    for (int y = 0; y < spot.height; ++y)
        for (int x = 0; x <= 5; ++x) art += spot.OpaqueAt(x, y) ? 1 : 0;
    EXPECT_GE(art, 10);
}

// Pressed looks differ from normal ones, animation frames from each other.
TEST(PictureContent, PressedLooksAndAnimationFramesAllDiffer) {
    const std::pair<int, int> runs[] = {{163, 170}, {192, 199}, {200, 207}, {208, 215}, {244, 252}, {256, 260},
                                        {270, 276}, {277, 283}, {307, 312}, {313, 324}, {330, 334}, {341, 346},
                                        {375, 376}};
    for (auto [first, last] : runs) {
        for (int id = first; id < last; ++id) {
            EXPECT_NE(All().at(static_cast<uint16_t>(id)).pixels, All().at(static_cast<uint16_t>(id + 1)).pixels) << id;
        }
    }
    for (int id : {352, 358, 360, 362, 364, 366, 368, 371, 373, 377, 384, 386, 388, 390, 392, 394, 396, 399, 422,
                   424, 426, 446, 498, 500, 504, 519, 521, 523, 525, 527}) {
        EXPECT_NE(All().at(static_cast<uint16_t>(id)).pixels, All().at(static_cast<uint16_t>(id + 1)).pixels) << id;
    }
}

TEST(PictureContent, MirroredFlightsAreMirrorImages) {
    // As seen, facing right is facing left flipped: stored rows reversed.
    for (int f = 0; f < 8; ++f) {
        const Picture& left = All().at(static_cast<uint16_t>(163 + f));
        const Picture& right = All().at(static_cast<uint16_t>(192 + f));
        int same = 0, total = 0;
        for (int y = 0; y < left.height; ++y)
            for (int x = 0; x < left.width; ++x, ++total)
                same += left.OpaqueAt(x, y) == right.OpaqueAt(x, left.height - 1 - y) ? 1 : 0;
        EXPECT_GT(same, total * 98 / 100) << f;
    }
}

TEST(PictureContent, LogoTurnsOnBlackWithItsArtInsideTheCircle) {
    const Picture& logo = All().at(350);
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            const double dx = x - 89.5, dy = y - 89.5;
            if (dx * dx + dy * dy > 89.0 * 89.0) {
                ASSERT_EQ(logo.At(x, y), 0x0000) << x << "," << y;
            }
        }
    }
}

}  // namespace

namespace {

// Drawing fills the font caches; empty them once every test has run.
class FontCacheRelease : public ::testing::Environment {
public:
    void TearDown() override { assetgen::ReleaseFontCaches(); }
};

const auto* const kFontCacheRelease = ::testing::AddGlobalTestEnvironment(new FontCacheRelease);

}  // namespace
