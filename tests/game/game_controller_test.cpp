#include "game/game_controller.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/event_dispatcher.h"
#include "app/game_app.h"
#include "app/message_loop.h"
#include "app/view.h"
#include "game/game_random.h"
#include "game/hunt_objects.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/testing.h"
#include "tests/game/hunt_fixture.h"

namespace {

// Stands in for the screens around the hunt: the hunt starts when it is
// entered from the main menu, and leaves for the pause menu and the results.
class ScreenStandIn : public View {
public:
    void Enter() override {}
    void Leave() override {}
    int HandleEvent(InputEvent&) override { return kConsumed; }
};

plat::Message Pen(uint32_t id, int32_t x, int32_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(y) << 16)};
}

// Drives the real application on the test machine, one message at a time.
class HuntTest : public gametest::HuntTest {
protected:
    void SetUp() override {
        gametest::HuntTest::SetUp();
        theApp.Input() = InputState{};  // as the message loop starts
        dispatcher_ = new EventDispatcher(*theApp.Views(), *theApp.Controller(), *theApp.Animations());
        g_gameRandom.seedWith(4242);
        g_fieldTargets.seed();
        theApp.Views()->Add(&menu_, kViewMainMenu);
        theApp.Views()->Add(&pause_, kViewPauseMenu);
        theApp.Views()->Add(&results_, kViewResults);
        theApp.Views()->SwitchTo(kViewMainMenu);
        Step();
        theApp.Views()->SwitchTo(kViewHunt, true);
        Step();
    }
    void TearDown() override {
        delete dispatcher_;
        gametest::HuntTest::TearDown();
    }

    // One message (queued, else the next heartbeat) through the dispatcher.
    void Step() {
        plat::Message message{};
        ASSERT_TRUE(plat::GetMessage(message));
        ApplyMessage(theApp.Input(), message);
        BuildMainEvent(theApp.Input(), event_);
        dispatcher_->Dispatch(event_);
    }
    void Post(const plat::Message& message) {
        plat::testing::PushMessage(message);
        Step();
    }
    void Tap(int32_t x, int32_t y) {
        Post(Pen(plat::kMsgPenDown, x, y));
        Post(Pen(plat::kMsgPenUp, x, y));
    }
    void RunFor(uint32_t ms) {
        const uint32_t end = plat::GetTickCount() + ms;
        while (static_cast<int32_t>(plat::GetTickCount() - end) < 0) Step();
    }
    std::vector<int> Sounds() { return SoundsPlayed(); }
    static bool Contains(const std::vector<int>& ids, int id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    }
    int32_t ScrollY() const { return gfx::g_scene->GetScrollY(); }
    const HuntStats& Stats() const { return theApp.Controller()->Stats(); }

    ScreenStandIn menu_;
    ScreenStandIn pause_;
    ScreenStandIn results_;
    EventDispatcher* dispatcher_ = nullptr;
    InputEvent event_{};
};

TEST_F(HuntTest, ScrollingStopsAtNineGoingUpAndAtTheBottomGoingDown) {
    Post({plat::kMsgKeyDown, plat::kVkUp, 0});
    for (int i = 0; i < 70; ++i) Step();
    Post({plat::kMsgKeyUp, plat::kVkUp, 0});
    EXPECT_EQ(ScrollY(), 9);
    // The shell strip, the clock and the score stay in their places on the screen.
    EXPECT_EQ(g_shellMagazine.sprite().y, 9 + 5);
    EXPECT_EQ(g_huntClock.icon().y, 9 + 304);
    EXPECT_EQ(g_scoreBoard.field()->sprite.y, 9 + 10);
    Post({plat::kMsgKeyDown, plat::kVkDown, 0});
    EXPECT_EQ(ScrollY(), 19);
    for (int i = 0; i < 70; ++i) Step();
    Post({plat::kMsgKeyUp, plat::kVkDown, 0});
    EXPECT_EQ(ScrollY(), 639);
}

// The pause corner, Escape and losing the focus open the pause menu without
// a shot; other characters do nothing.
TEST_F(HuntTest, ThePauseCornerEscapeAndFocusLossPauseWithoutAShot) {
    Sounds();
    Tap(228, 315);  // just outside the corner: a shot
    EXPECT_EQ(g_shellMagazine.shells(), 6);
    EXPECT_EQ(Stats().shotsFired, 1);
    EXPECT_TRUE(Contains(Sounds(), 550));
    const plat::Message pauses[] = {{plat::kMsgChar, kCharEscape, 0}, {plat::kMsgFocusLost, 0, 0},
                                    Pen(plat::kMsgPenDown, 235, 315)};
    for (const plat::Message& m : pauses) {
        Post({plat::kMsgChar, 'a', 0});
        EXPECT_EQ(theApp.Views()->Next(), kViewHunt);
        Post(m);
        EXPECT_EQ(theApp.Views()->Next(), kViewPauseMenu) << m.id;
        EXPECT_EQ(g_shellMagazine.shells(), 6);
        EXPECT_EQ(Sounds(), (std::vector<int>{0, 535}));
        theApp.Views()->SwitchTo(kViewHunt);
        Step();
        ASSERT_EQ(theApp.Views()->Current(), kViewHunt);
        Sounds();
    }
}

// The whole hunt's run checks the strip's reload and the empty gun's click.
TEST_F(HuntTest, TheReloadButtonFillsAnEmptyGunSilently) {
    for (int i = 0; i < 7; ++i) Tap(120, 160);
    EXPECT_EQ(g_shellMagazine.shells(), 0);
    EXPECT_GT(g_shotPuffs.puffs().count(), 0);  // the new hunt's puffs are set up
    Sounds();
    Post({plat::kMsgHotKey, 0xC3, 0});
    Post({plat::kMsgKeyUp, 0xC3, 0});
    EXPECT_EQ(g_shellMagazine.shells(), 7);
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(HuntTest, AShotDuckScoresByItsSize) {
    // Wait for a duck whose opaque pixel shows on the screen, and tap it.
    for (int event = 0; event < 20000; ++event) {
        Step();
        for (int i = 0; i < g_duckFlock.count(); ++i) {
            const Target& duck = g_duckFlock.at(i);
            if (duck.kind() == kDuckSwimmer) continue;
            const gfx::Sprite& sprite = duck.sprite();
            const gfx::Surface& frame = *sprite.image->surface;
            const gfx::Colour key = frame.Row(0)[0];
            for (uint32_t py = 0; py < sprite.height; ++py) {
                for (uint32_t px = 0; px < sprite.width; ++px) {
                    const int32_t sx = sprite.x + static_cast<int32_t>(px);
                    const int32_t sy = sprite.y + static_cast<int32_t>(py) - ScrollY();
                    if (frame.Row(static_cast<int32_t>(py))[px] == key || sx < 0 || sx >= 200 || sy < 0 ||
                        sy >= 300) {
                        continue;
                    }
                    const uint8_t kind = duck.kind();
                    Sounds();
                    Post(Pen(plat::kMsgPenDown, sx, sy));
                    EXPECT_EQ(Stats().ducksShot, 1);
                    EXPECT_TRUE(Contains(Sounds(), 544));
                    EXPECT_EQ(g_scoreBoard.score(), kind >= kDuckSmallDown ? 25 : 10);
                    EXPECT_EQ(g_featherBursts.bursts().count(), 1);  // the new hunt's bursts are set up
                    return;
                }
            }
        }
    }
    FAIL() << "no duck came into view";
}

// The hunt's end as the whole hunt's run cannot see it: the pending result
// holds this hunt's figures, and the scroll goes back to the top.
TEST_F(HuntTest, TheHuntEndsWithItsStatisticsPending) {
    Tap(100, 100);
    RunFor(181 * 1010 + 5);
    Settings& settings = *theApp.GetSettings();
    ASSERT_TRUE(settings.resultPending);
    EXPECT_EQ(settings.LastScores, g_scoreBoard.score());
    EXPECT_EQ(settings.PersentageSuccess, Stats().accuracy());
    EXPECT_STREQ(settings.PlayerName, settings.UserName);
    EXPECT_EQ(theApp.Views()->Next(), kViewResults);
    EXPECT_EQ(ScrollY(), 0);
}

TEST(HuntStatsTest, FieldHitsCountByKindAndValueAndAccuracyStaysWithinAHundred) {
    HuntStats stats;
    EXPECT_EQ(stats.accuracy(), 0);  // no shot fired
    stats.countFieldHit(1, 1);    // a leaf point
    stats.countFieldHit(1, 50);   // a sign duck
    stats.countFieldHit(1, -50);  // a red bird or the decoy
    stats.countFieldHit(2, -30);  // a time leaf counts twice
    stats.countFieldHit(3, 0);    // a formation
    EXPECT_EQ(stats.leavesShot, 2);
    EXPECT_EQ(stats.otherHits, 4);
    EXPECT_EQ(stats.penaltyPoints, 50);
    EXPECT_EQ(stats.accuracy(), 0);  // the pause corner can end a hunt without a shot
    stats.shotsFired = 5;
    stats.ducksShot = 5;
    EXPECT_EQ(stats.accuracy(), 100);  // nine hits from five shots
    stats = HuntStats{};
    stats.shotsFired = 3;
    stats.ducksShot = 1;
    EXPECT_EQ(stats.accuracy(), 33);
    // Penalties past 16 bits do not wrap.
    for (int i = 0; i < 1000; ++i) stats.countFieldHit(1, -50);
    EXPECT_EQ(stats.penaltyPoints, 50000);
}

}  // namespace
