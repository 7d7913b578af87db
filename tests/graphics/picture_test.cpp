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
    Picture full, small, missing;
    gfx::LoadPicture(full, kGroundTop, 240, 320);
    ASSERT_TRUE(full.surface != nullptr && full.surface->pitch == 480u);
    const Colour* first = full.surface->Row(0);
    EXPECT_TRUE(std::any_of(first, first + 240 * 320, [](Colour c) { return c != 0; }));
    gfx::LoadPicture(small, kGroundTop, 240, 320);
    gfx::LoadPicture(small, kGroundTop, 10, 3);
    ASSERT_TRUE(small.surface->width == 10u && small.width == 10 && small.height == 3);
    EXPECT_TRUE(std::equal(first, first + 30, small.surface->pixels));
    gfx::LoadPicture(missing, 1, 4, 4);
    ASSERT_TRUE(missing.surface != nullptr && std::vector<Colour>(missing.surface->pixels, missing.surface->pixels + 16) == std::vector<Colour>(16, 0));
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
    EXPECT_TRUE(!gfx::LoadPictureBytes(1, untouched.data(), 8) && untouched == std::vector<uint8_t>(8, 0xEE));  // ids start at 102
}

// At another size of the same bytes a picture gets a copy of its own.
TEST(Pictures, SharedLoadsUseTheKeptPixelsUntilDrawnInto) {
    gfx::KeepAllPictures();
    Picture copy, a, b, turned, dot;
    gfx::LoadPicture(copy, kGroundTop, 240, 320);
    gfx::LoadSharedPicture(a, kGroundTop, 240, 320);
    gfx::LoadSharedPicture(b, kGroundTop, 240, 320);
    ASSERT_TRUE(a.shared && a.surface == b.surface);
    const auto same = [&copy](const Picture& p) {
        return p.surface != nullptr && std::equal(copy.surface->pixels, copy.surface->pixels + 240 * 320, p.surface->pixels);
    };
    EXPECT_TRUE(same(a));
    FillPicture(dot, 4, 4, 0x1234);
    gfx::ComposePicture(dot, a, 0, 0, false, 0, false);
    EXPECT_TRUE(!a.shared && a.surface->pixels[0] == 0x1234 && same(b));
    gfx::LoadSharedPicture(a, kGroundTop, 240, 320);
    EXPECT_TRUE(same(a));
    gfx::LoadSharedPicture(turned, kGroundTop, 320, 240);
    EXPECT_TRUE(!turned.shared && turned.surface != nullptr && turned.surface->width == 320u);
}

// Past the edge a draw does nothing rather than write outside the target.
TEST(Pictures, DrawsAndGrabsUseTheRenderTargetWhereTheyFit) {
    Picture p, empty, never, keyed, grabbed;
    FillPicture(p, 3, 2, 0x0F0F);
    Surface target(8, 8);
    gfx::FillSurface(target, 0x1111);
    {
        TargetScope scope(&target);
        gfx::CreateBlankPicture(empty, 0, 0);
        gfx::DrawPicture(empty, 2, 2);
        gfx::DrawPictureKeyed(empty, 2, 2, 0);
        gfx::DrawPicture(never, 0, 0);
        gfx::DrawPicture(p, 6, 0);  // past the edge: nothing rather than outside the target
        gfx::DrawPictureRegion(p, -1, 0, gfx::Rect{0, 0, 2, 2});
        gfx::DrawPictureHalfRegion(p, 0, 0, gfx::Rect{0, 0, 4, 2});
        ASSERT_EQ(std::vector<Colour>(target.pixels, target.pixels + 64), std::vector<Colour>(64, 0x1111));
        gfx::DrawPicture(p, 5, 6);
        EXPECT_TRUE(target.At(5, 6) == 0x0F0F && target.At(7, 7) == 0x0F0F && target.At(4, 6) == 0x1111);
        FillPicture(keyed, 2, 2, 0x00FF);
        keyed.surface->Row(1)[1] = 0x1234;
        gfx::DrawPictureKeyedAtPixel(keyed, 1, 1, 0, 0);
        EXPECT_TRUE(target.At(1, 1) == 0x1111 && target.At(2, 2) == gfx::Half(0x1234, 0x1111));  // the top of its run is soft
        gfx::CreateBlankPicture(grabbed, 2, 2);
        gfx::GrabTarget(grabbed, 2, 2);
        gfx::GrabTargetRegion(grabbed, gfx::Point{1, 0}, gfx::Rect{0, 0, 1, 2});
        EXPECT_TRUE(grabbed.surface->At(0, 0) == target.At(2, 2) && grabbed.surface->At(1, 0) == 0x1111);
    }
    TargetScope none(nullptr);
    gfx::DrawPicture(p, 0, 0);  // no target: nothing to do
    gfx::GrabTarget(p, 0, 0);
    EXPECT_EQ(p.surface->At(0, 0), 0x0F0F);
}

// Composing clips to the destination; key and blend choose the primitive.
TEST(Compose, ClipsToTheDestinationAndKeyAndBlendChooseThePrimitive) {
    Picture src, dst, before;
    gfx::CreateBlankPicture(src, 4, 4);
    for (int32_t i = 0; i < 16; ++i) src.surface->pixels[i] = static_cast<Colour>(0x100 + i);
    gfx::CreateBlankPicture(dst, 6, 6);
    gfx::ComposePicture(src, dst, -2, -1, false, 0, false);
    EXPECT_TRUE(dst.surface->At(0, 0) == 0x100 + 1 * 4 + 2 && dst.surface->At(1, 2) == 0x100 + 3 * 4 + 3);
    EXPECT_TRUE(dst.surface->At(2, 0) == 0 && dst.surface->At(0, 3) == 0);
    gfx::ComposePicture(src, dst, 4, 5, false, 0, false);  // bottom-right corner
    EXPECT_TRUE(dst.surface->At(4, 5) == 0x100 && dst.surface->At(5, 5) == 0x101);
    gfx::CreateBlankPicture(before, 6, 6);
    gfx::ComposePicture(dst, before, 0, 0, false, 0, false);
    for (auto [x, y] : {std::pair{6, 0}, {7, 0}, {0, 6}, {-4, 0}, {0, -4}}) gfx::ComposePicture(src, dst, x, y, false, 0, false);
    EXPECT_TRUE(std::equal(dst.surface->pixels, dst.surface->pixels + 36, before.surface->pixels));

    FillPicture(src, 2, 2, 0xF81F);
    src.surface->Row(1)[0] = 0x07E0;
    for (int mode = 0; mode < 4; ++mode) {
        const bool keyed = mode & 1;
        const bool blend = mode & 2;
        FillPicture(dst, 2, 2, 0x001F);
        gfx::ComposePicture(src, dst, 0, 0, keyed, 0xF81F, blend);
        const Colour keyPixel = keyed ? Colour{0x001F} : (blend ? gfx::Half(0xF81F, 0x001F) : Colour{0xF81F});
        EXPECT_EQ(dst.surface->At(0, 0), keyPixel) << mode;
        EXPECT_EQ(dst.surface->At(0, 1), blend ? gfx::Half(0x07E0, 0x001F) : Colour{0x07E0}) << mode;  // no soft edge here
    }
}

}  // namespace
