#include "graphics/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "graphics/blit.h"
#include "graphics/lz77.h"
#include "graphics/picture_cache.h"
#include "platform/platform.h"

namespace {

using gfx::Colour;
using gfx::Picture;
using gfx::Surface;

constexpr uint16_t kGroundTop = 148;  // a full-screen 240 x 320 picture

void FillPicture(Picture& p, uint16_t w, uint16_t h, Colour c) {
    gfx::CreateBlankPicture(p, w, h);
    gfx::FillSurface(*p.surface, c);
}

// Points the render target at a surface for one test.
class TargetScope {
public:
    explicit TargetScope(Surface* target) : saved_(gfx::GetRenderTarget()) { gfx::SetRenderTarget(target); }
    ~TargetScope() { gfx::SetRenderTarget(saved_); }

private:
    Surface* saved_;
};

TEST(Pictures, LoadReplacesAndSmallerSizesTakeTheFirstBytes) {
    Picture full;
    gfx::LoadPicture(full, kGroundTop, 240, 320);
    ASSERT_NE(full.surface, nullptr);
    EXPECT_EQ(full.surface->width, 240u);
    EXPECT_EQ(full.surface->pitch, 480u);
    const Colour* first = full.surface->Row(0);
    EXPECT_TRUE(std::any_of(first, first + 240 * 320, [](Colour c) { return c != 0; }));

    // Reloaded small, the same bytes fill the smaller buffer in order.
    Picture small;
    gfx::LoadPicture(small, kGroundTop, 240, 320);
    gfx::LoadPicture(small, kGroundTop, 10, 3);
    ASSERT_EQ(small.surface->width, 10u);
    EXPECT_EQ(small.width, 10);
    EXPECT_EQ(small.height, 3);
    for (int32_t i = 0; i < 30; ++i) EXPECT_EQ(small.surface->pixels[i], first[i]) << i;
}

TEST(Pictures, KeptPicturesLoadAsDecodedOnes) {
    // Every picture, loaded shorter and longer than it decodes to: the kept
    // bytes give what decoding gives, and the rest of the buffer stays.
    gfx::KeepAllPictures();
    EXPECT_GT(gfx::KeptPictureBytes(), 0u);
    size_t pictures = 0;
    plat::ForEachResource(
        "PCT",
        [](uint16_t id, const plat::ResourceData& resource, void* count) {
            ++*static_cast<size_t*>(count);
            std::vector<uint8_t> whole(400000);
            const uint32_t n = gfx::DecodeResource(resource, whole.data(), static_cast<uint32_t>(whole.size()));
            ASSERT_LT(n, whole.size()) << id;
            for (const uint32_t capacity : {n / 2, n + 10}) {
                std::vector<uint8_t> out(capacity, 0xEE);
                ASSERT_TRUE(gfx::LoadPictureBytes(id, out.data(), capacity));
                std::vector<uint8_t> want(whole.begin(), whole.begin() + std::min(n, capacity));
                want.resize(capacity, 0xEE);
                ASSERT_EQ(out, want) << id << " at " << capacity;
            }
        },
        &pictures);
    EXPECT_GT(pictures, 300u);
    std::vector<uint8_t> untouched(8, 0xEE);
    EXPECT_FALSE(gfx::LoadPictureBytes(1, untouched.data(), 8));  // ids start at 102
    EXPECT_EQ(untouched, std::vector<uint8_t>(8, 0xEE));
}

TEST(Pictures, SharedLoadsUseTheKeptPixelsUntilDrawnInto) {
    gfx::KeepAllPictures();
    Picture copy;
    Picture a;
    Picture b;
    gfx::LoadPicture(copy, kGroundTop, 240, 320);
    gfx::LoadSharedPicture(a, kGroundTop, 240, 320);
    gfx::LoadSharedPicture(b, kGroundTop, 240, 320);
    ASSERT_TRUE(a.shared);
    EXPECT_EQ(a.surface, b.surface);
    const auto same = [&copy](const Picture& p) {
        return p.surface != nullptr && std::equal(copy.surface->pixels, copy.surface->pixels + 240 * 320, p.surface->pixels);
    };
    EXPECT_TRUE(same(a));

    // Drawn into, a shared picture gets its own pixels; the kept ones stay.
    Picture dot;
    FillPicture(dot, 4, 4, 0x1234);
    gfx::ComposePicture(dot, a, 0, 0, false, 0, false);
    EXPECT_FALSE(a.shared);
    EXPECT_EQ(a.surface->pixels[0], 0x1234);
    EXPECT_TRUE(same(b));
    gfx::LoadSharedPicture(a, kGroundTop, 240, 320);
    EXPECT_TRUE(same(a));

    // Asked for at another size of the same bytes: a copy of its own.
    Picture turned;
    gfx::LoadSharedPicture(turned, kGroundTop, 320, 240);
    EXPECT_FALSE(turned.shared);
    ASSERT_NE(turned.surface, nullptr);
    EXPECT_EQ(turned.surface->width, 320u);
}

TEST(Pictures, MissingResourceAndEmptyPicturesStayBlackAndDrawNothing) {
    Picture missing;
    gfx::LoadPicture(missing, 1, 4, 4);
    ASSERT_NE(missing.surface, nullptr);
    for (int32_t i = 0; i < 16; ++i) EXPECT_EQ(missing.surface->pixels[i], 0);

    Surface target(8, 8);
    gfx::FillSurface(target, 0x1111);
    TargetScope scope(&target);
    Picture empty;
    gfx::CreateBlankPicture(empty, 0, 0);
    gfx::DrawPicture(empty, 2, 2);
    gfx::DrawPictureKeyed(empty, 2, 2, 0);
    Picture never;  // never loaded
    gfx::DrawPicture(never, 0, 0);
    for (int32_t i = 0; i < 64; ++i) ASSERT_EQ(target.pixels[i], 0x1111);
}

TEST(Pictures, DrawsGoToTheRenderTargetOnlyWhereTheyFit) {
    Picture p;
    FillPicture(p, 3, 2, 0x0F0F);
    Surface target(8, 8);
    {
        TargetScope scope(&target);
        gfx::DrawPicture(p, 5, 6);
        EXPECT_EQ(target.At(5, 6), 0x0F0F);
        EXPECT_EQ(target.At(7, 7), 0x0F0F);
        // Past the edge: nothing, rather than writing outside the target.
        gfx::DrawPicture(p, 6, 0);
        gfx::DrawPictureRegion(p, -1, 0, gfx::Rect{0, 0, 2, 2});
        gfx::DrawPictureHalfRegion(p, 0, 0, gfx::Rect{0, 0, 4, 2});
        EXPECT_EQ(target.At(6, 0), 0);
        EXPECT_EQ(target.At(0, 0), 0);
    }
    TargetScope none(nullptr);
    gfx::DrawPicture(p, 0, 0);  // no target: nothing to do
    gfx::GrabTarget(p, 0, 0);
    EXPECT_EQ(p.surface->At(0, 0), 0x0F0F);
}

TEST(Pictures, KeyFromOwnPixelAndGrabbing) {
    Picture p;
    FillPicture(p, 2, 2, 0x00FF);
    p.surface->Row(1)[1] = 0x1234;
    Surface target(4, 4);
    gfx::FillSurface(target, 0x0101);
    TargetScope scope(&target);
    gfx::DrawPictureKeyedAtPixel(p, 1, 1, 0, 0);
    EXPECT_EQ(target.At(1, 1), 0x0101);
    EXPECT_EQ(target.At(2, 2), gfx::Half(0x1234, 0x0101));  // top of its run

    Picture grabbed;
    gfx::CreateBlankPicture(grabbed, 2, 2);
    gfx::GrabTarget(grabbed, 2, 2);
    EXPECT_EQ(grabbed.surface->At(0, 0), target.At(2, 2));
    gfx::GrabTargetRegion(grabbed, gfx::Point{1, 0}, gfx::Rect{0, 0, 1, 2});
    EXPECT_EQ(grabbed.surface->At(1, 0), 0x0101);
}

TEST(Compose, ClipsToTheDestination) {
    Picture src;
    gfx::CreateBlankPicture(src, 4, 4);
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) src.surface->Row(y)[x] = static_cast<Colour>(0x100 + y * 4 + x);
    }
    Picture dst;
    gfx::CreateBlankPicture(dst, 6, 6);
    gfx::ComposePicture(src, dst, -2, -1, false, 0, false);
    EXPECT_EQ(dst.surface->At(0, 0), 0x100 + 1 * 4 + 2);
    EXPECT_EQ(dst.surface->At(1, 2), 0x100 + 3 * 4 + 3);
    EXPECT_EQ(dst.surface->At(2, 0), 0);
    EXPECT_EQ(dst.surface->At(0, 3), 0);

    gfx::ComposePicture(src, dst, 4, 5, false, 0, false);  // bottom-right corner
    EXPECT_EQ(dst.surface->At(4, 5), 0x100);
    EXPECT_EQ(dst.surface->At(5, 5), 0x101);

    Picture before;
    gfx::CreateBlankPicture(before, 6, 6);
    gfx::ComposePicture(dst, before, 0, 0, false, 0, false);
    for (auto [x, y] : {std::pair{6, 0}, std::pair{7, 0}, std::pair{0, 6}, std::pair{-4, 0}, std::pair{0, -4}}) {
        gfx::ComposePicture(src, dst, x, y, false, 0, false);
    }
    EXPECT_TRUE(std::equal(dst.surface->pixels, dst.surface->pixels + 36, before.surface->pixels));
}

TEST(Compose, KeyAndBlendChooseThePrimitive) {
    Picture src;
    FillPicture(src, 2, 2, 0xF81F);
    src.surface->Row(1)[0] = 0x07E0;
    for (int mode = 0; mode < 4; ++mode) {
        const bool keyed = mode & 1;
        const bool blend = mode & 2;
        Picture dst;
        FillPicture(dst, 2, 2, 0x001F);
        gfx::ComposePicture(src, dst, 0, 0, keyed, 0xF81F, blend);
        const Colour keyPixel = keyed ? Colour{0x001F} : (blend ? gfx::Half(0xF81F, 0x001F) : Colour{0xF81F});
        const Colour inkPixel = blend ? gfx::Half(0x07E0, 0x001F) : Colour{0x07E0};
        EXPECT_EQ(dst.surface->At(0, 0), keyPixel) << mode;
        EXPECT_EQ(dst.surface->At(0, 1), inkPixel) << mode;  // no soft edge here
    }
}

}  // namespace
