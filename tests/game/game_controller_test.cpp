#include "game/game_controller.h"

#include "app/event_dispatcher.h"
#include "app/message_loop.h"
#include "app/view.h"
#include "game/game_random.h"
#include "game/hunt_objects.h"
#include "persist/settings.h"
#include "tests/game/hunt_fixture.h"

namespace {

// Stands in for the screens around the hunt.
class ScreenStandIn : public View {
public:
    void Enter() override {}
    void Leave() override {}
    int HandleEvent(InputEvent&) override { return kConsumed; }
};

plat::Message Pen(uint32_t id, int32_t x, int32_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(y) << 16)};
}

// Drives the real application on the test machine, one message at a time,
// into a hunt entered from the main menu.
class HuntTest : public gametest::HuntTest {
protected:
    void SetUp() override {
        gametest::HuntTest::SetUp();
        theApp.Input() = InputState{};  // as the message loop starts
        dispatcher_ = std::make_unique<EventDispatcher>(*theApp.Views(), *theApp.Controller(), *theApp.Animations());
        g_gameRandom.seedWith(4242);
        g_fieldTargets.seed();
        theApp.Views()->Add(&standIns_[0], kViewMainMenu);
        theApp.Views()->Add(&standIns_[1], kViewPauseMenu);
        theApp.Views()->Add(&standIns_[2], kViewResults);
        theApp.Views()->SwitchTo(kViewMainMenu);
        Step();
        theApp.Views()->SwitchTo(kViewHunt, true);
        Step();
    }
    void TearDown() override {
        dispatcher_.reset();
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
    static bool Contains(const std::vector<int>& ids, int id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); }
    static int32_t ScrollY() { return gfx::g_scene->GetScrollY(); }
    const HuntStats& Stats() const { return theApp.Controller()->Stats(); }

    ScreenStandIn standIns_[3];
    std::unique_ptr<EventDispatcher> dispatcher_;
    InputEvent event_{};
};

// The strip, clock and score keep their places on the screen.
TEST_F(HuntTest, ScrollingStopsAtNineGoingUpAndAtTheBottomGoingDown) {
    Post({plat::kMsgKeyDown, plat::kVkUp, 0});
    for (int i = 0; i < 70; ++i) Step();
    Post({plat::kMsgKeyUp, plat::kVkUp, 0});
    EXPECT_EQ(ScrollY(), 9);
    EXPECT_EQ(g_shellMagazine.sprite().y, 9 + 5);
    EXPECT_EQ(g_huntClock.icon().y, 9 + 304);
    EXPECT_EQ(g_scoreBoard.field()->sprite.y, 9 + 10);
    Post({plat::kMsgKeyDown, plat::kVkDown, 0});
    EXPECT_EQ(ScrollY(), 19);
    for (int i = 0; i < 70; ++i) Step();
    EXPECT_EQ(ScrollY(), 639);
}

// The pause corner, Escape and losing the focus; other characters do nothing.
TEST_F(HuntTest, PausingTakesNoShotAndTheReloadButtonIsSilent) {
    Tap(228, 315);  // just outside the corner: a shot
    EXPECT_EQ(g_shellMagazine.shells(), 6);
    EXPECT_EQ(Stats().shotsFired, 1);
    EXPECT_TRUE(Contains(SoundsPlayed(), 550));
    for (const plat::Message& m : {plat::Message{plat::kMsgChar, kCharEscape, 0}, plat::Message{plat::kMsgFocusLost, 0, 0},
                                   Pen(plat::kMsgPenDown, 235, 315)}) {
        Post({plat::kMsgChar, 'a', 0});
        EXPECT_EQ(theApp.Views()->Next(), kViewHunt);
        Post(m);
        EXPECT_EQ(theApp.Views()->Next(), kViewPauseMenu) << m.id;
        EXPECT_EQ(g_shellMagazine.shells(), 6);
        EXPECT_EQ(SoundsPlayed(), (std::vector<int>{0, 535}));
        theApp.Views()->SwitchTo(kViewHunt);
        Step();
        ASSERT_EQ(theApp.Views()->Current(), kViewHunt);
        SoundsPlayed();
    }
    for (int i = 0; i < 7; ++i) Tap(120, 160);
    EXPECT_EQ(g_shellMagazine.shells(), 0);
    EXPECT_GT(g_shotPuffs.puffs().count(), 0);  // the new hunt's puffs are set up
    SoundsPlayed();
    Post({plat::kMsgHotKey, 0xC3, 0});
    Post({plat::kMsgKeyUp, 0xC3, 0});
    EXPECT_EQ(g_shellMagazine.shells(), 7);
    EXPECT_TRUE(SoundsPlayed().empty());
}

TEST_F(HuntTest, AShotDuckScoresByItsSizeAndTheEndLeavesTheResultPending) {
    bool shot = false;
    for (int event = 0; event < 20000 && !shot; ++event) {
        Step();
        for (int i = 0; i < g_duckFlock.count() && !shot; ++i) {
            const Target& duck = g_duckFlock.at(i);
            if (duck.kind() == kDuckSwimmer) continue;
            const gfx::Point p = TapOn(duck, false, gfx::g_scene);
            if (p.x < 0 || p.x >= 200 || p.y < 0 || p.y >= 300) continue;
            const uint8_t kind = duck.kind();
            SoundsPlayed();
            Post(Pen(plat::kMsgPenDown, p.x, p.y));
            EXPECT_EQ(Stats().ducksShot, 1);
            EXPECT_TRUE(Contains(SoundsPlayed(), 544));
            EXPECT_EQ(g_scoreBoard.score(), kind >= kDuckSmallDown ? 25 : 10);
            EXPECT_EQ(g_featherBursts.bursts().count(), 1);  // the new hunt's bursts are set up
            Post(Pen(plat::kMsgPenUp, p.x, p.y));
            shot = true;
        }
    }
    ASSERT_TRUE(shot) << "no duck came into view";
    for (const uint32_t end = plat::GetTickCount() + 181 * 1010; static_cast<int32_t>(plat::GetTickCount() - end) < 0;) Step();
    Settings& settings = *theApp.GetSettings();
    ASSERT_TRUE(settings.resultPending);
    EXPECT_EQ(settings.LastScores, g_scoreBoard.score());
    EXPECT_EQ(settings.PersentageSuccess, Stats().accuracy());
    EXPECT_STREQ(settings.PlayerName, settings.UserName);
    EXPECT_EQ(theApp.Views()->Next(), kViewResults);
    EXPECT_EQ(ScrollY(), 0);
}

// Suspended, no part of the hunt stays in the scene or animates; resumed, each comes back at its layer.
// A new hunt while one left unreleased sits on a scene since gone takes nothing out through the gone one.
TEST_F(HuntTest, SuspendingTakesEveryPartOutAndANewHuntLeavesAGoneSceneAlone) {
    const auto held = [] {
        std::vector<std::pair<const gfx::Sprite*, uint16_t>> sprites;
        for (auto* n = gfx::g_scene->Sprites().Head(); n != nullptr; n = n->next) sprites.emplace_back(n->sprite, n->layer);
        std::sort(sprites.begin(), sprites.end());
        return sprites;
    };
    const size_t fresh = held().size();
    for (int i = 0; i < 3000 && (g_duckFlock.count() < 3 || g_fieldTargets.count() < 3); ++i) Step();
    Tap(120, 160);  // a puff
    const auto before = held();
    const uint16_t animated = theApp.Animations()->Count();
    ASSERT_TRUE(g_duckFlock.count() >= 3 && g_fieldTargets.count() >= 3 && g_shotPuffs.puffs().count() == 1 && animated > 0);
    theApp.Controller()->SuspendHunt();
    EXPECT_EQ(gfx::g_scene->Sprites().Count() + theApp.Animations()->Count(), 0);
    theApp.Controller()->ResumeHunt();
    EXPECT_TRUE(held() == before && theApp.Animations()->Count() == animated);
    for (const auto& [sprite, layer] : before) EXPECT_EQ(sprite->layer, layer);
    theApp.Controller()->EndHunt();
    StripFont font;
    ASSERT_EQ(font.load(255, 22, 700, 48), 0);
    {
        gfx::Scene old(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
        g_scenery.init(&old);
        g_shellMagazine.init(212, 5, &old, 7);
        g_scoreBoard.init(3, 10, &old);
        g_huntClock.init(3, 225, 180, &old);
        g_shotPuffs.init(&old);
        g_featherBursts.init(&old);
        g_hitSplashes.init(&old, &font);
        g_duckFlock.init(&old);
        g_fieldTargets.init(&old);
        g_shotPuffs.add(100, 100);
        g_featherBursts.show(100, 400, 1);
        g_hitSplashes.show(100, 400, 1, 10);
        g_duckFlock.summonFlock();
        while (g_fieldTargets.count() < 3) g_fieldTargets.processEvent(Event(kEventIdle), true);
    }
    theApp.Controller()->StartHunt();
    EXPECT_EQ(held().size(), fresh);
}

TEST(HuntStatsTest, FieldHitsCountByKindAndValueAndAccuracyStaysWithinAHundred) {
    HuntStats stats;
    EXPECT_EQ(stats.accuracy(), 0);  // no shot fired
    // A leaf point, a sign duck, a red bird or the decoy, a time leaf (twice), a formation.
    for (const auto& [times, value] : {std::pair{1, 1}, {1, 50}, {1, -50}, {2, -30}, {3, 0}}) stats.countFieldHit(times, value);
    EXPECT_TRUE(stats.leavesShot == 2 && stats.otherHits == 4 && stats.penaltyPoints == 50);
    EXPECT_EQ(stats.accuracy(), 0);  // the pause corner can end a hunt without a shot
    stats.shotsFired = stats.ducksShot = 5;
    EXPECT_EQ(stats.accuracy(), 100);  // nine hits from five shots
    stats = HuntStats{};
    stats.shotsFired = 3;
    stats.ducksShot = 1;
    EXPECT_EQ(stats.accuracy(), 33);
    for (int i = 0; i < 1000; ++i) stats.countFieldHit(1, -50);
    EXPECT_EQ(stats.penaltyPoints, 50000);  // past 16 bits, no wrap
}

}  // namespace
