#include "game/duck_flock.h"

#include <set>

#include "game/game_random.h"
#include "graphics/blit.h"
#include "tests/game/failing_new.h"
#include "tests/game/hunt_fixture.h"

namespace {

class DuckFlockTest : public gametest::HuntTest {
protected:
    void SetUp() override {
        HuntTest::SetUp();
        ASSERT_EQ(flock_.init(&scene_), 0);
    }
    void TearDown() override {
        gametest::FailNothrowAllocationsOf(0);
        flock_.release();
        HuntTest::TearDown();
    }

    FlockResult Idle() { return flock_.processEvent(Event(kEventIdle), true, kFlockUpdate); }
    FlockResult Tap(gfx::Point p, bool loaded = true) {
        return flock_.processEvent(Event(kEventPenDown, p.x, p.y), loaded, kFlockUpdate);
    }
    void Move(uint32_t ms) {
        Advance(ms);
        flock_.processEvent(Event(kEventPenUp), true, kFlockUpdate);
    }
    // A new flock from this seed with one duck launched (no time passing).
    FlockResult Restart(int32_t seed) {
        flock_.release();
        flock_.init(&scene_);
        g_gameRandom.seedWith(seed);
        for (int i = 0; i < 5000; ++i) {
            const FlockResult r = Idle();
            if (r.kind == kFlockLaunched) return r;
        }
        ADD_FAILURE() << "no launch";
        return {};
    }
    int FindKind(uint8_t kind) const {
        for (int i = 0; i < flock_.count(); ++i) {
            if (flock_.at(i).kind() == kind) return i;
        }
        return -1;
    }
    int FirstFlier() const {
        int i = 0;
        while (flock_.at(i).kind() == kDuckSwimmer) ++i;
        return i;
    }
    bool OnlyOn(int i, gfx::Point p) const {
        for (int j = 0; j < flock_.count(); ++j) {
            if (j != i && flock_.at(j).hitTest(p.x, p.y, 0, scene_.GetScrollY()) != kHitOutside) return false;
        }
        return true;
    }
    bool AnimatedAreLive() const {
        std::vector<const gfx::Sprite*> live;
        for (int i = 0; i < flock_.count(); ++i) live.push_back(&flock_.at(i).sprite());
        return AnimatedAre(live);
    }

    DuckFlock flock_;
};

// The ducks after a kill neither move nor roll a launch; moving sprites below stay shown.
TEST_F(DuckFlockTest, AKillEndsTheEventAndAnEmptyGunTouchesNothing) {
    gfx::Scene& scene = *gfx::g_scene;  // whose drawing reaches the panel
    flock_.release();
    ASSERT_EQ(flock_.init(&scene), 0);
    scene.SetScroll(0, 639);
    g_gameRandom.seedWith(101);
    while (flock_.count() < 3) Idle();
    const int victim = FirstFlier();
    const gfx::Sprite* victimSprite = &flock_.at(victim).sprite();
    const gfx::Point tap = TapOn(flock_.at(victim), false, &scene);
    Tap(tap, false);
    EXPECT_EQ(&flock_.at(victim).sprite(), victimSprite);

    gfx::Picture picture;
    gfx::CreateBlankPicture(picture, 8, 8);
    gfx::FillSurface(*picture.surface, 0xF81F);
    gfx::Sprite marker;
    ASSERT_EQ(gfx::SetSpritePicture(marker, &picture, 3, scene.GetScrollY() + 3, true, false, false, 0), 0);
    scene.AddSprite(marker, 10);
    scene.RedrawAll();

    Advance(1000);  // every duck is due to move
    std::vector<gfx::Point> before;
    for (int i = 0; i < flock_.count(); ++i) before.push_back({flock_.at(i).sprite().x, flock_.at(i).sprite().y});
    const int32_t stateBefore = g_gameRandom.state();
    const uint8_t countBefore = flock_.count();
    const uint8_t kind = flock_.at(victim).kind();
    const FlockResult r = Tap(tap);
    EXPECT_TRUE(r.kind == kFlockKilled && r.x == before[victim].x && r.y == before[victim].y && r.duckKind == kind);
    EXPECT_EQ(flock_.count(), countBefore - 1);
    EXPECT_EQ(g_gameRandom.state(), stateBefore);
    for (int i = victim; i < flock_.count(); ++i) {
        const gfx::Point was = before[i == victim ? countBefore - 1 : i];
        EXPECT_TRUE(flock_.at(i).sprite().x == was.x && flock_.at(i).sprite().y == was.y) << i;
    }
    EXPECT_EQ(plat::testing::PresentedPanel()[3 * 240 + 3], 0xF81F);
    scene.RemoveSprite(marker);
    gfx::FreeSpriteBackground(marker);
    flock_.release();
}

TEST_F(DuckFlockTest, ANarrowMissScaresEveryKindIntoAFastFlightTheOtherWay) {
    const struct {
        uint8_t kind, flees;
        bool up;  // heads for smaller y
    } table[] = {{kDuckBigDown, kDuckBigUp, true}, {kDuckBigUp, kDuckBigDown, false},
                 {kDuckSmallDown, kDuckSmallUp, true}, {kDuckSmallUp, kDuckSmallDown, false}};
    std::set<uint8_t> done;
    for (int32_t seed = 1; seed < 400 && done.size() < 4; ++seed) {
        Restart(seed);
        const int i = FirstFlier();
        const Target& duck = flock_.at(i);
        if (done.count(duck.kind()) != 0) continue;
        const auto& row = *std::find_if(std::begin(table), std::end(table), [&](auto& e) { return e.kind == duck.kind(); });
        while (duck.sprite().y < -100) Move(103);  // room for three moves back
        const gfx::Point tap = TapOn(duck, true);
        if (!OnlyOn(i, tap)) continue;
        const gfx::Point was{duck.sprite().x, duck.sprite().y};
        SoundsPlayed();
        const FlockResult r = Tap(tap);
        done.insert(row.kind);
        ASSERT_EQ(r.kind, kFlockScared);
        EXPECT_TRUE(r.duckKind == row.flees && r.x == was.x && r.y == was.y);
        const std::vector<int> played = SoundsPlayed();
        EXPECT_TRUE(played == std::vector<int>{563} || played == std::vector<int>{564});
        const int fled = FindKind(row.flees);
        ASSERT_GE(fled, 0);
        EXPECT_EQ(flock_.at(fled).sprite().layer, row.kind <= kDuckBigUp ? 130 : 50);
        EXPECT_TRUE(AnimatedAreLive());
        // Three moves at 95 ms: 15 steps each, along y or, on a wide swing, x.
        const gfx::Sprite& s = flock_.at(fled).sprite();
        for (int move = 1; move <= 3; ++move) {
            const gfx::Point old{s.x, s.y};
            Move(96);
            EXPECT_EQ(std::max(std::abs(s.x - old.x), std::abs(s.y - old.y)), 15);
            EXPECT_TRUE(row.up ? s.y <= old.y : s.y >= old.y);
        }
    }
    EXPECT_EQ(done.size(), 4u);
}

TEST_F(DuckFlockTest, TheSwimmerTurnsBackWhenShotOrAtEitherEndAndNeverLeaves) {
    for (int32_t seed = 56; FindKind(kDuckSwimmer) < 0; ++seed) Restart(seed);
    const gfx::Sprite& s = flock_.at(FindKind(kDuckSwimmer)).sprite();
    const gfx::Picture* outward = s.image;
    EXPECT_TRUE(s.x == 168 && s.y == 669 && s.layer == 50);
    for (int i = 0; i < 20; ++i) Move(201);  // towards (214, 80): one pixel per 200 ms
    EXPECT_EQ(s.y, 649);
    SoundsPlayed();
    EXPECT_NE(Tap(TapOn(flock_.at(FindKind(kDuckSwimmer)), true)).kind, kFlockKilled);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{563});
    EXPECT_NE(s.image, outward);
    Move(201);
    EXPECT_EQ(s.y, 650);  // back towards (168, 669)
    int turns = 0;  // at the start point, then at the far end
    for (const gfx::Picture* shown = s.image; turns < 2 && tick_ < 400000;) {
        Move(201);
        ASSERT_GE(FindKind(kDuckSwimmer), 0);
        const gfx::Picture* now = flock_.at(FindKind(kDuckSwimmer)).sprite().image;
        turns += now != shown ? 1 : 0;
        shown = now;
    }
    EXPECT_EQ(turns, 2);
    EXPECT_TRUE(AnimatedAreLive());
}

TEST_F(DuckFlockTest, FormationsAreRefusedFrom29AndFastDucksAlwaysLeave) {
    g_gameRandom.seedWith(999);
    ASSERT_EQ(flock_.summonFlock().kind, kFlockFormation);
    ASSERT_EQ(flock_.count(), 5);
    // A V of five: the leader and two pairs behind it, 40 and 80 to the sides.
    const gfx::Sprite& lead = flock_.at(0).sprite();
    const bool fromTop = flock_.at(0).kind() == kDuckSmallDown;
    const int32_t offsets[5][2] = {{0, 0}, {40, 60}, {-40, 60}, {80, 120}, {-80, 120}};
    for (int i = 0; i < 5; ++i) {
        const gfx::Sprite& s = flock_.at(i).sprite();
        EXPECT_TRUE(s.x - lead.x == offsets[i][0] && s.y - lead.y == (fromTop ? -1 : 1) * offsets[i][1]) << i;
        EXPECT_TRUE(s.layer == 5 && flock_.at(i).kind() == flock_.at(0).kind()) << i;
    }
    EXPECT_EQ(lead.y, fromTop ? -240 : 1280);

    // With 7 or more in the table no launch is even rolled.
    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    const int32_t state = g_gameRandom.state();
    for (int i = 0; i < 300; ++i) Idle();
    EXPECT_EQ(g_gameRandom.state(), state);
    for (int n = 15; n <= 30; n += 5) {
        EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
        EXPECT_EQ(flock_.count(), n);
    }
    // A refusal draws nothing. The first duck in the table is the one a tap reaches.
    for (const int32_t expected : {kFlockRefused, kFlockRefused, kFlockFormation}) {
        const int32_t drawn = g_gameRandom.state();
        const uint8_t count = flock_.count();
        EXPECT_EQ(flock_.summonFlock().kind, expected) << int{count};
        EXPECT_EQ(flock_.count(), expected == kFlockRefused ? count : count + 5);
        EXPECT_TRUE(expected != kFlockRefused || g_gameRandom.state() == drawn);
        ASSERT_EQ(Tap(TapOn(flock_.at(0), false)).kind, kFlockKilled);
    }
    EXPECT_EQ(flock_.count(), 32);
    // Speed 15 jumps over the finish window; every formation duck still leaves.
    for (int i = 0; i < 400; ++i) Move(96);
    EXPECT_LE(flock_.count(), 7);
    for (int i = 0; i < flock_.count(); ++i) EXPECT_NE(flock_.at(i).sprite().layer, 5);
    EXPECT_TRUE(AnimatedAreLive());
}

TEST_F(DuckFlockTest, WhenSpritesCannotBeMadeNothingIsCountedOrReported) {
    gametest::HoldPicturePool();  // a duck leaving then frees no slot for the next
    Restart(4242);
    const uint8_t count = flock_.count();
    const gfx::Point tap = TapOn(flock_.at(FirstFlier()), true);
    gametest::FailNothrowAllocationsOf(sizeof(gfx::Picture));
    SoundsPlayed();
    EXPECT_EQ(Tap(tap).kind, kFlockNothing);
    EXPECT_TRUE(SoundsPlayed().empty());
    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(Idle().kind, kFlockNothing);
    EXPECT_EQ(flock_.count(), count - 1);
    EXPECT_TRUE(AnimatedAreLive());

    gametest::FailNothrowAllocationsOf(0);
    FlockResult launched{};
    while (launched.kind != kFlockLaunched) launched = Idle();
    const Target& last = flock_.at(flock_.count() - 1);
    EXPECT_TRUE(launched.x == last.sprite().x && launched.y == last.sprite().y && launched.duckKind == last.kind());
}

}  // namespace
