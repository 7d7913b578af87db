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
        InputEvent idle = ScreenTest::Event(kEventIdle);
        EXPECT_EQ(credits.HandleEvent(idle), kConsumed);
        return credits.CaptionX(0) != before;
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) ASSERT_TRUE(Tick(CreditsView::kStepMs));
    }

    CreditsView credits;
};

TEST(CreditsOpacity, FadesInTenPixelStepsAtBothEdgesOfTheOpaqueBand) {
    EXPECT_EQ(CreditsView::OpacityAt(220), 0.0f);
    EXPECT_EQ(CreditsView::OpacityAt(219), 0.1f);
    EXPECT_EQ(CreditsView::OpacityAt(130), 0.9f);
    EXPECT_EQ(CreditsView::OpacityAt(129), 1.0f);
    EXPECT_EQ(CreditsView::OpacityAt(99), 0.9f);
    EXPECT_EQ(CreditsView::OpacityAt(55), 0.5f);
    EXPECT_EQ(CreditsView::OpacityAt(10), 0.1f);
    EXPECT_EQ(CreditsView::OpacityAt(9), 0.0f);
}

TEST_F(CreditsTest, CaptionsStartInGroupsEndingAtOneLineAndStepEvery51Ms) {
    EXPECT_EQ(credits.CaptionX(0), 220);
    EXPECT_EQ(credits.CaptionX(3), 300);
    EXPECT_EQ(credits.CaptionX(12), 560);
    EXPECT_EQ(credits.CaptionY(0), 260 - 112);
    EXPECT_EQ(credits.CaptionY(12), 260 - 126);
    ASSERT_TRUE(Tick(51));
    EXPECT_EQ(credits.CaptionX(0), 218);
    EXPECT_EQ(credits.CaptionX(12), 558);
    EXPECT_FALSE(Tick(50));  // however many events come in between
    EXPECT_TRUE(Tick(1));
}

TEST_F(CreditsTest, ACaptionThatReachesTheEndJumpsBackAndTheRollRepeatsEvery291Steps) {
    Steps(290);
    EXPECT_EQ(credits.CaptionX(0), -360);
    Steps(1);
    EXPECT_EQ(credits.CaptionX(0), 220);
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
    gfx::Picture caption;
    gfx::LoadPicture(caption, 407, 20, 112);
    const gfx::Colour key = caption.surface->At(0, 0);
    Steps(1);
    int opaque = 0;
    for (int32_t y = 0; y < 112; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const gfx::Colour s = caption.surface->At(x, y);
            const uint16_t shown = Pixel(120 + x, 148 + y);
            if (s == key) {
                EXPECT_EQ(shown, 0) << x << "," << y;
            } else {
                EXPECT_EQ(shown, s) << x << "," << y;
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 50);
    // Caption 2 at 140 is drawn at 0.8 over black.
    gfx::Picture second;
    gfx::LoadPicture(second, 408, 20, 164);
    for (int32_t y = 0; y < 164; ++y) {
        const gfx::Colour s = second.surface->At(10, y);
        if (s == second.surface->At(0, 0)) continue;
        EXPECT_EQ(Pixel(140 + 10, 96 + y), gfx::Alpha(s, 0, 0.8f));
        break;
    }
    const gfx::Surface& screen = Scene().GetDisplayList().GetDisplay().GetDisplaySurface();
    for (int32_t y = 0; y < 320; y += 7) {
        for (int32_t x = 0; x < 240; x += 3) ASSERT_EQ(screen.At(x, y), 0);
    }
}

TEST_F(CreditsTest, AnyTapAnywhereGoesBack) {
    Stand(kViewHowToPlay);
    Views().Start(kViewHowToPlay);
    Views().SwitchTo(kViewCredits, true);
    InputEvent key = Key(kKeyReturn);
    credits.HandleEvent(key);
    EXPECT_EQ(Views().Next(), kViewCredits);
    InputEvent tap = Event(kEventPenDown, 239, 319);
    EXPECT_EQ(credits.HandleEvent(tap), kConsumed);
    EXPECT_EQ(Views().Next(), kViewHowToPlay);
}

}  // namespace
