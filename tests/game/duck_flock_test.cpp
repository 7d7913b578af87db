#include "game/duck_flock.h"

#include <gtest/gtest.h>

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
    FlockResult Tap(int32_t x, int32_t y, bool loaded = true) {
        return flock_.processEvent(Event(kEventPenDown, x, y), loaded, kFlockUpdate);
    }
    // Idle events without time passing until a duck has been launched.
    FlockResult LaunchOne() {
        for (int i = 0; i < 5000; ++i) {
            const FlockResult r = Idle();
            if (r.kind == kFlockLaunched) return r;
        }
        ADD_FAILURE() << "no launch";
        return {};
    }
    int Find(const gfx::Sprite& sprite) const {
        for (int i = 0; i < flock_.count(); ++i) {
            if (&flock_.at(i).sprite() == &sprite) return i;
        }
        return -1;
    }
    int FindKind(uint8_t kind) const {
        for (int i = 0; i < flock_.count(); ++i) {
            if (flock_.at(i).kind() == kind) return i;
        }
        return -1;
    }
    // No other Target is under the tap.
    bool OnlyOn(int i, int32_t x, int32_t y) const {
        for (int j = 0; j < flock_.count(); ++j) {
            if (j != i && flock_.at(j).hitTest(x, y, scene_.GetScrollX(), scene_.GetScrollY()) != kHitOutside) {
                return false;
            }
        }
        return true;
    }
    std::vector<const gfx::Sprite*> LiveSprites() const {
        std::vector<const gfx::Sprite*> live;
        for (int i = 0; i < flock_.count(); ++i) live.push_back(&flock_.at(i).sprite());
        return live;
    }

    DuckFlock flock_;
};

// A kill ends the event: the ducks after it neither move nor roll a launch,
// and the moving sprites below it (the decoy, the red birds) stay on the
// screen. An empty gun touches nothing.
TEST_F(DuckFlockTest, AKillEndsTheEventAndAnEmptyGunTouchesNothing) {
    gfx::Scene& scene = *gfx::g_scene;  // whose drawing reaches the panel
    flock_.release();
    ASSERT_EQ(flock_.init(&scene), 0);
    scene.SetScroll(0, 639);
    g_gameRandom.seedWith(101);
    while (flock_.count() < 3) LaunchOne();
    int victim = 0;
    while (flock_.at(victim).kind() == kDuckSwimmer) ++victim;
    const gfx::Sprite* victimSprite = &flock_.at(victim).sprite();
    const gfx::Point tap = TapOn(flock_.at(victim), false, &scene);
    Tap(tap.x, tap.y, false);
    EXPECT_GE(Find(*victimSprite), 0);

    constexpr gfx::Colour kMarker = 0xF81F;
    gfx::Picture picture;
    gfx::CreateBlankPicture(picture, 8, 8);
    gfx::FillSurface(*picture.surface, kMarker);
    gfx::Sprite marker;
    ASSERT_EQ(gfx::SetSpritePicture(marker, &picture, 3, scene.GetScrollY() + 3, true, false, false, 0), 0);
    scene.AddSprite(marker, 10);
    scene.RedrawAll();
    ASSERT_EQ(plat::testing::PresentedPanel()[3 * 240 + 3], kMarker);

    Advance(1000);  // every duck is due to move
    std::vector<gfx::Point> before;
    for (int i = 0; i < flock_.count(); ++i) before.push_back({flock_.at(i).sprite().x, flock_.at(i).sprite().y});
    const int32_t stateBefore = g_gameRandom.state();
    const uint8_t countBefore = flock_.count();
    const uint8_t kind = flock_.at(victim).kind();
    const FlockResult r = Tap(tap.x, tap.y);
    EXPECT_EQ(r.kind, kFlockKilled);
    EXPECT_EQ(r.x, before[victim].x);
    EXPECT_EQ(r.y, before[victim].y);
    EXPECT_EQ(r.duckKind, kind);
    EXPECT_EQ(flock_.count(), countBefore - 1);
    EXPECT_EQ(Find(*victimSprite), -1);
    EXPECT_EQ(g_gameRandom.state(), stateBefore);
    for (int i = victim; i < flock_.count(); ++i) {
        const gfx::Point was = before[i == victim ? countBefore - 1 : i];
        EXPECT_TRUE(flock_.at(i).sprite().x == was.x && flock_.at(i).sprite().y == was.y) << i;
    }
    EXPECT_EQ(plat::testing::PresentedPanel()[3 * 240 + 3], kMarker);
    scene.RemoveSprite(marker);
    gfx::FreeSpriteBackground(marker);
    flock_.release();
}

TEST_F(DuckFlockTest, ANarrowMissScaresEveryKindIntoAFastFlightTheOtherWay) {
    // Scared kind -> (new kind, heads for smaller y).
    const struct {
        uint8_t kind;
        uint8_t flees;
        bool up;
    } table[] = {{kDuckBigDown, kDuckBigUp, true},
                 {kDuckBigUp, kDuckBigDown, false},
                 {kDuckSmallDown, kDuckSmallUp, true},
                 {kDuckSmallUp, kDuckSmallDown, false}};
    std::set<uint8_t> done;
    std::set<int> sounds;
    for (int32_t seed = 1; seed < 400 && done.size() < 4; ++seed) {
        flock_.release();
        flock_.init(&scene_);
        g_gameRandom.seedWith(seed);
        LaunchOne();
        const int i = flock_.at(0).kind() == kDuckSwimmer ? 1 : 0;
        const Target& duck = flock_.at(i);
        if (done.count(duck.kind()) != 0) continue;
        const auto& row = *std::find_if(std::begin(table), std::end(table), [&](auto& e) { return e.kind == duck.kind(); });
        // Far enough from the end it would flee to that three moves fit.
        while (duck.sprite().y < -100) {
            Advance(103);
            flock_.processEvent(Event(kEventPenUp), true, kFlockUpdate);
        }
        const auto [x, y] = TapOn(duck, true);
        if (!OnlyOn(i, x, y)) continue;
        const int32_t wx = duck.sprite().x;
        const int32_t wy = duck.sprite().y;
        SoundsPlayed();
        const FlockResult r = Tap(x, y);
        done.insert(row.kind);
        ASSERT_EQ(r.kind, kFlockScared);
        EXPECT_EQ(r.duckKind, row.flees);
        EXPECT_EQ(r.x, wx);
        EXPECT_EQ(r.y, wy);
        const std::vector<int> played = SoundsPlayed();
        ASSERT_EQ(played.size(), 1u);
        sounds.insert(played[0]);
        EXPECT_TRUE(played[0] == 563 || played[0] == 564);
        const int fled = FindKind(row.flees);
        ASSERT_GE(fled, 0);
        EXPECT_EQ(flock_.at(fled).sprite().layer, row.kind <= kDuckBigUp ? 130 : 50);
        EXPECT_TRUE(AnimatedAre(LiveSprites()));
        // Three moves at 95 ms: 15 steps each, along y or, on a wide swing, x.
        const gfx::Sprite& s = flock_.at(fled).sprite();
        for (int move = 1; move <= 3; ++move) {
            Advance(96);
            const int32_t oldX = s.x;
            const int32_t oldY = s.y;
            flock_.processEvent(Event(kEventPenUp), true, kFlockUpdate);
            const int32_t dy = s.y - oldY;
            EXPECT_EQ(std::max(std::abs(s.x - oldX), std::abs(dy)), 15);
            EXPECT_TRUE(row.up ? dy <= 0 : dy >= 0);
        }
    }
    EXPECT_EQ(done.size(), 4u);
}

TEST_F(DuckFlockTest, TheSwimmerTurnsBackWhenShotOrAtEitherEndAndNeverLeaves) {
    g_gameRandom.seedWith(55);
    int32_t seed = 55;
    while (FindKind(kDuckSwimmer) < 0) {
        flock_.release();
        flock_.init(&scene_);
        g_gameRandom.seedWith(++seed);
        LaunchOne();
    }
    const Target& swimmer = flock_.at(FindKind(kDuckSwimmer));
    const gfx::Picture* outward = swimmer.sprite().image;
    EXPECT_EQ(swimmer.sprite().x, 168);
    EXPECT_EQ(swimmer.sprite().y, 669);
    EXPECT_EQ(swimmer.sprite().layer, 50);

    // It swims towards (214, 80): smaller y, one pixel per 200 ms.
    for (int i = 0; i < 20; ++i) {
        Advance(201);
        flock_.processEvent(Event(kEventPenUp), true, kFlockUpdate);
    }
    const gfx::Sprite& s = flock_.at(FindKind(kDuckSwimmer)).sprite();
    EXPECT_EQ(s.y, 649);
    const auto [x, y] = TapOn(flock_.at(FindKind(kDuckSwimmer)), true);
    SoundsPlayed();
    const FlockResult r = Tap(x, y);
    EXPECT_NE(r.kind, kFlockKilled);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{563});
    EXPECT_NE(s.image, outward);
    Advance(201);
    Idle();
    EXPECT_EQ(s.y, 650);  // back towards (168, 669)

    // Shuttled for a long while: it turns at the start point and stays.
    int turns = 0;
    const gfx::Picture* shown = s.image;
    for (int i = 0; i < 1500; ++i) {
        Advance(201);
        Idle();
        ASSERT_GE(FindKind(kDuckSwimmer), 0);
        if (flock_.at(FindKind(kDuckSwimmer)).sprite().image != shown) {
            ++turns;
            shown = flock_.at(FindKind(kDuckSwimmer)).sprite().image;
        }
    }
    EXPECT_GE(turns, 2);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

TEST_F(DuckFlockTest, FormationsAreRefusedFrom29AndFastDucksAlwaysLeave) {
    g_gameRandom.seedWith(999);
    const FlockResult first = flock_.summonFlock();
    ASSERT_EQ(first.kind, kFlockFormation);
    ASSERT_EQ(flock_.count(), 5);
    // A V of five: the leader and two pairs behind it, 40 and 80 to the sides.
    const gfx::Sprite& lead = flock_.at(0).sprite();
    const bool fromTop = flock_.at(0).kind() == kDuckSmallDown;
    const int32_t back = fromTop ? -1 : 1;
    const int32_t offsets[5][2] = {{0, 0}, {40, 60}, {-40, 60}, {80, 120}, {-80, 120}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(flock_.at(i).sprite().x - lead.x, offsets[i][0]);
        EXPECT_EQ(flock_.at(i).sprite().y - lead.y, back * offsets[i][1]);
        EXPECT_EQ(flock_.at(i).sprite().layer, 5);
        EXPECT_EQ(flock_.at(i).kind(), flock_.at(0).kind());
    }
    EXPECT_EQ(lead.y, fromTop ? -240 : 1280);

    // With 7 or more in the table no launch is even rolled.
    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    const int32_t state = g_gameRandom.state();
    for (int i = 0; i < 300; ++i) Idle();
    EXPECT_EQ(g_gameRandom.state(), state);
    EXPECT_EQ(flock_.count(), 10);

    for (int n = 15; n <= 30; n += 5) {
        EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
        EXPECT_EQ(flock_.count(), n);
    }
    // A refusal draws nothing. The first duck in the table is always the one
    // a tap on it reaches.
    for (const int32_t expected : {kFlockRefused, kFlockRefused, kFlockFormation}) {
        const int32_t drawn = g_gameRandom.state();
        const uint8_t count = flock_.count();
        const FlockResult r = flock_.summonFlock();
        EXPECT_EQ(r.kind, expected) << int{count};
        EXPECT_EQ(flock_.count(), expected == kFlockRefused ? count : count + 5);
        if (expected == kFlockRefused) {
            EXPECT_EQ(g_gameRandom.state(), drawn);
        }
        const auto [x, y] = TapOn(flock_.at(0), false);
        ASSERT_EQ(Tap(x, y).kind, kFlockKilled);
    }
    EXPECT_EQ(flock_.count(), 32);

    // Speed 15 jumps over the finish window; every formation duck still ends
    // its flight and leaves the table.
    for (int i = 0; i < 400; ++i) {
        Advance(96);
        Idle();
    }
    EXPECT_LE(flock_.count(), 7);
    for (int i = 0; i < flock_.count(); ++i) EXPECT_NE(flock_.at(i).sprite().layer, 5);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

TEST_F(DuckFlockTest, WhenSpritesCannotBeMadeNothingIsCountedOrReported) {
    // Backgrounds from the heap: a duck leaving then frees no slot for the next.
    gametest::HoldPicturePool();
    g_gameRandom.seedWith(4242);
    LaunchOne();
    const uint8_t count = flock_.count();
    int i = 0;
    while (flock_.at(i).kind() == kDuckSwimmer) ++i;
    const auto [x, y] = TapOn(flock_.at(i), true);

    gametest::FailNothrowAllocationsOf(sizeof(gfx::Picture));
    SoundsPlayed();
    const FlockResult scared = Tap(x, y);
    EXPECT_EQ(scared.kind, kFlockNothing);
    EXPECT_EQ(flock_.count(), count - 1);
    EXPECT_TRUE(SoundsPlayed().empty());

    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    EXPECT_EQ(flock_.count(), count - 1);
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(Idle().kind, kFlockNothing);
    EXPECT_EQ(flock_.count(), count - 1);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));

    gametest::FailNothrowAllocationsOf(0);
    const FlockResult launched = LaunchOne();
    const Target& last = flock_.at(flock_.count() - 1);
    EXPECT_EQ(launched.x, last.sprite().x);
    EXPECT_EQ(launched.y, last.sprite().y);
    EXPECT_EQ(launched.duckKind, last.kind());
}

// Hidden for the pause screens, every duck leaves scene and animation list
// and comes back at its layer; a new hunt forgets ducks left on a scene that
// is gone.
TEST_F(DuckFlockTest, HideShowAndANewHuntOnANewScene) {
    g_gameRandom.seedWith(7);
    flock_.summonFlock();
    while (flock_.count() < 7) LaunchOne();
    const std::vector<const gfx::Sprite*> live = LiveSprites();
    flock_.hide();
    EXPECT_EQ(scene_.Sprites().Count() + animated_.Count(), 0);
    flock_.show();
    EXPECT_EQ(scene_.Sprites().Count(), live.size());
    EXPECT_TRUE(AnimatedAre(live));
    for (auto* n = scene_.Sprites().Head(); n != nullptr; n = n->next) EXPECT_EQ(n->layer, n->sprite->layer);
    EXPECT_EQ(flock_.release(), 0);
    EXPECT_EQ(scene_.Sprites().Count() + animated_.Count(), 0);
    EXPECT_EQ(flock_.release(), DuckFlock::kMissingFrames);
    {
        gfx::Scene old(1, 3, 240, 320);
        flock_.init(&old);
        flock_.summonFlock();
        ASSERT_EQ(flock_.count(), 5);
    }
    EXPECT_EQ(flock_.init(&scene_), 0);
    EXPECT_EQ(flock_.count(), 0);
    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

}  // namespace
