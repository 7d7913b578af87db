// The credits roll: fades at the band's edges, pace, loop, and the tap out.
#include "screens/credits_view.h"

#include "graphics/blit.h"
#include "tests/screens/screen_fixture.h"

namespace {

class CreditsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(credits, kViewCredits);
        credits.Enter();
    }
    void TearDown() override {
        credits.Leave();
        ScreenTest::TearDown();
    }
    // One event `ms` after the last; true when the captions moved.
    bool Tick(uint32_t ms) {
        const int32_t before = credits.CaptionX(0);
        plat::testing::AdvanceTick(ms);
        EXPECT_EQ(Send(&credits, kEventIdle), kConsumed);
        return credits.CaptionX(0) != before;
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(Tick(CreditsView::kStepMs));
    }

    CreditsView credits;
};

TEST(CreditsOpacity, FadesInTenPixelStepsAtBothEdgesOfTheOpaqueBand) {
    const std::pair<int32_t, float> at[] = {{220, 0.0f}, {219, 0.1f}, {130, 0.9f}, {129, 1.0f},
                                            {99, 0.9f},  {55, 0.5f},  {10, 0.1f},  {9, 0.0f}};
    for (const auto& [x, opacity] : at) EXPECT_EQ(CreditsView::OpacityAt(x), opacity) << x;
}

TEST_F(CreditsTest, CaptionsStartInGroupsStepEvery51MsAndTheRollRepeatsEvery291Steps) {
    EXPECT_EQ(credits.CaptionX(3), 300);
    EXPECT_EQ(credits.CaptionY(0), 260 - 112);
    EXPECT_EQ(credits.CaptionY(12), 260 - 126);
    ASSERT_TRUE(Tick(51));
    EXPECT_EQ(credits.CaptionX(0), 218);
    EXPECT_EQ(credits.CaptionX(12), 558);
    EXPECT_FALSE(Tick(50));  // however many events come in between
    EXPECT_TRUE(Tick(1));
    Steps(288);
    EXPECT_EQ(credits.CaptionX(0), -360);
    Steps(1);
    EXPECT_EQ(credits.CaptionX(0), 220);  // a caption at the end jumps back
    // Once the last caption has gone round, the whole roll repeats exactly.
    Steps(461 - 291);
    int32_t before[CreditsView::kCaptions];
    for (int i = 0; i < CreditsView::kCaptions; ++i) before[i] = credits.CaptionX(i);
    Steps(291);
    for (int i = 0; i < CreditsView::kCaptions; ++i) EXPECT_EQ(credits.CaptionX(i), before[i]) << i;
    EXPECT_EQ(credits.CaptionX(12) - credits.CaptionX(11), 20);
}

TEST_F(CreditsTest, AnOpaqueCaptionIsAKeyedCopyAndTheScreenIsClearedAfterEachStep) {
    Steps(50);  // caption 1 is at 120, in the opaque band, before the next step
    ASSERT_EQ(credits.CaptionX(0), 120);
    gfx::Picture caption, second;
    gfx::LoadPicture(caption, 407, 20, 112);
    gfx::LoadPicture(second, 408, 20, 164);
    Steps(1);
    int opaque = 0;
    for (int32_t y = 0; y < 112; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const gfx::Colour s = caption.surface->At(x, y);
            const bool keyed = s == caption.surface->At(0, 0);
            ASSERT_EQ(Pixel(120 + x, 148 + y), keyed ? 0 : s) << x << "," << y;
            opaque += keyed ? 0 : 1;
        }
    }
    EXPECT_GT(opaque, 50);
    // Caption 2 at 140 is drawn at 0.8 over black.
    int32_t y = 0;
    while (second.surface->At(10, y) == second.surface->At(0, 0)) ++y;
    EXPECT_EQ(Pixel(140 + 10, 96 + y), gfx::Alpha(second.surface->At(10, y), 0, 0.8f));
    const gfx::Surface& screen = Scene().GetDisplayList().GetDisplay().GetDisplaySurface();
    for (int32_t sy = 0; sy < 320; sy += 7) {
        for (int32_t sx = 0; sx < 240; sx += 3) ASSERT_EQ(screen.At(sx, sy), 0);
    }
}

TEST_F(CreditsTest, AnyTapAnywhereGoesBack) {
    Stand(kViewHowToPlay);
    Views().Start(kViewHowToPlay);
    Views().SwitchTo(kViewCredits, true);
    Key(&credits, kKeyReturn);
    EXPECT_EQ(Views().Next(), kViewCredits);
    EXPECT_EQ(Send(&credits, kEventPenDown, 239, 319), kConsumed);
    EXPECT_EQ(Views().Next(), kViewHowToPlay);
}

}  // namespace
