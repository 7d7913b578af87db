#include "game/field_targets.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "persist/settings.h"
#include "tests/game/failing_new.h"
#include "tests/game/hunt_fixture.h"

namespace {

class FieldTargetsTest : public gametest::HuntTest {
protected:
    void SetUp() override {
        HuntTest::SetUp();
        SetEffects(true);
        field_.random().seedWith(31);
        ASSERT_EQ(field_.init(&scene_), 0);
    }
    void TearDown() override {
        gametest::FailNothrowAllocationsOf(0);
        field_.release();
        HuntTest::TearDown();
    }

    static void SetEffects(bool on) { theApp.GetSettings()->SpecialEffects = on; }
    ShotResult Idle() { return field_.processEvent(Event(kEventIdle), true); }
    ShotResult Tap(int32_t x, int32_t y) { return field_.processEvent(Event(kEventPenDown, x, y), true); }

    int FindKind(uint8_t kind) const {
        for (int i = field_.decoy() != nullptr ? 1 : 0; i < field_.count(); ++i) {
            if (field_.at(i).kind() == kind) return i;
        }
        return -1;
    }
    // One event 201 ms after the last: every target moves, frames step.
    void Tick() {
        Advance(201);
        Idle();
        StepAnimations();
    }
    // Events until a target of this kind is there.
    int WaitFor(uint8_t kind) {
        for (int n = 0; n < 200000 && FindKind(kind) < 0; ++n) Tick();
        return FindKind(kind);
    }
    // Events until there is a leaf that a tap on its corner reaches first.
    int WaitForLoneLeaf() {
        for (int n = 0; n < 200000; ++n) {
            for (int i = field_.decoy() != nullptr ? 1 : 0; i < field_.count(); ++i) {
                if (field_.at(i).kind() != kFieldLeaf) continue;
                const gfx::Point tap = Corner(i);
                bool first = true;
                for (int j = 0; j < i; ++j) first = first && field_.at(j).hitTest(tap.x, tap.y, 0, 639) == kHitOutside;
                if (first) return i;
            }
            Tick();
        }
        return -1;
    }
    // Where a tap lands on the pixel (0, 0) of target i: transparent, but in
    // its box.
    gfx::Point Corner(int i) const {
        return {field_.at(i).sprite().x - scene_.GetScrollX(), field_.at(i).sprite().y - scene_.GetScrollY()};
    }
    // Sets the generator so that the next below(100) mod 13 is d.
    void NextLeafDraw(int32_t d) {
        for (int32_t seed = 1;; ++seed) {
            GameRandom probe;
            probe.seedWith(seed);
            if (probe.below(100) % 13 != d) continue;
            field_.random().seedWith(seed);
            return;
        }
    }
    // Whether the pop-up shows picture `id` at (x, y).
    bool PopupIs(uint16_t id, uint16_t w, uint16_t h, int32_t x, int32_t y, bool blend) const {
        const gfx::Sprite* popup = field_.popup();
        if (popup == nullptr || popup->image == nullptr || popup->x != x || popup->y != y || popup->blend != blend ||
            popup->layer != 231) {
            return false;
        }
        gfx::Picture expected;
        gfx::LoadPicture(expected, id, w, h);
        if (popup->image->width != w || popup->image->height != h) return false;
        for (int32_t row = 0; row < h; ++row) {
            for (int32_t col = 0; col < w; ++col) {
                if (popup->image->surface->At(col, row) != expected.surface->At(col, row)) return false;
            }
        }
        return true;
    }
    std::vector<const gfx::Sprite*> LiveSprites() const {
        std::vector<const gfx::Sprite*> live;
        for (int i = 0; i < field_.count(); ++i) live.push_back(&field_.at(i).sprite());
        for (int i = 0; i < field_.animationCount(); ++i) live.push_back(&field_.animation(i).sprite());
        return live;
    }

    FieldTargets field_;
};

TEST_F(FieldTargetsTest, TheDecoyDriftsUpTo250CostsFiftyAndStays) {
    const Target* decoy = field_.decoy();
    ASSERT_NE(decoy, nullptr);
    EXPECT_EQ(decoy->kind(), kFieldDecoy);
    EXPECT_EQ(decoy->sprite().x, 165);
    EXPECT_EQ(decoy->sprite().y, 620);
    EXPECT_EQ(decoy->sprite().layer, 10);
    int32_t lowest = 620;
    for (int n = 0; n < 30000; ++n) {
        Idle();
        lowest = std::min(lowest, decoy->sprite().y);
    }
    EXPECT_EQ(decoy->sprite().y, 250);
    EXPECT_EQ(lowest, 250);
    EXPECT_EQ(decoy->sprite().x, 165);

    scene_.SetScroll(0, 200);
    SoundsPlayed();
    const ShotResult r = Tap(165 + 27, 250 - 200 + 37);  // its bottom-right pixel
    EXPECT_EQ(r.kind, kShotPoints);
    EXPECT_EQ(r.value, -50);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{562});
    EXPECT_TRUE(PopupIs(347, 20, 48, 165 + 20, 250 + 20, false));
    EXPECT_EQ(field_.decoy(), decoy);
    // Ten events later the pop-up is gone.
    for (int n = 0; n < 9; ++n) Idle();
    EXPECT_NE(field_.popup(), nullptr);
    Idle();
    EXPECT_EQ(field_.popup(), nullptr);
    EXPECT_EQ(Tap(165 + 28, 250 - 200).kind, kShotNothing);  // just outside its box
}

TEST_F(FieldTargetsTest, LeavesPayPointsTimeOrAFormationEverySixthTime) {
    struct Expect {
        int32_t d;
        ShotResult result;
        uint16_t popup;
        std::vector<int> sounds;
    };
    const std::vector<Expect> script = {
        {0, {kShotTime, 30}, 325, {555}},  {1, {kShotTime, -30}, 326, {556}},
        {5, {kShotPoints, 1}, 348, {}},    {2, {kShotFormation, 0}, 327, {557}},
        {2, {kShotPoints, 1}, 348, {}},    {2, {kShotPoints, 1}, 348, {}},
        {2, {kShotPoints, 1}, 348, {}},    {2, {kShotPoints, 1}, 348, {}},
        {2, {kShotPoints, 1}, 348, {}},    {2, {kShotFormation, 0}, 327, {557}},
        {12, {kShotPoints, 1}, 348, {}},   {2, {kShotPoints, 1}, 348, {}},
    };
    for (const Expect& e : script) {
        const int i = WaitForLoneLeaf();
        ASSERT_GE(i, 0);
        const int32_t wx = field_.at(i).sprite().x;
        const int32_t wy = field_.at(i).sprite().y;
        const gfx::Point tap = Corner(i);
        const uint8_t animations = field_.animationCount();
        ASSERT_LT(animations, FieldTargets::kAnimations);
        NextLeafDraw(e.d);
        SoundsPlayed();
        const ShotResult r = Tap(tap.x, tap.y);
        EXPECT_EQ(r.kind, e.result.kind) << "d " << e.d;
        EXPECT_EQ(r.value, e.result.value) << "d " << e.d;
        EXPECT_EQ(SoundsPlayed(), e.sounds);
        EXPECT_TRUE(PopupIs(e.popup, e.popup == 348 ? 20 : 24, e.popup == 348 ? 22 : 24, wx + 20, wy - 10, true));
        ASSERT_EQ(field_.animationCount(), animations + 1);
        const gfx::Sprite& burst = field_.animation(animations).sprite();
        EXPECT_EQ(burst.x, wx);
        EXPECT_EQ(burst.layer, 230);
        EXPECT_TRUE(burst.blend);
        EXPECT_TRUE(AnimatedAre(LiveSprites()));
    }
    // The bursts end on their last frame and leave both lists.
    for (int n = 0; n < 10; ++n) Tick();
    EXPECT_EQ(field_.animationCount(), 0);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

TEST_F(FieldTargetsTest, ASignDuckSlidesInOnScreenPaysFiftyAndOnlyAShotOneIsReplaced) {
    SetEffects(false);
    scene_.SetScroll(0, 300);
    int i = WaitFor(kFieldSign);
    ASSERT_GE(i, 0);
    const gfx::Sprite* sign = &field_.at(i).sprite();
    EXPECT_EQ(sign->x, 240);
    EXPECT_GE(sign->y, 300);
    EXPECT_LT(sign->y, 620);
    EXPECT_EQ(sign->layer, 141);
    // It slides 10 pixels every 200 ms.
    Advance(201);
    Idle();
    EXPECT_EQ(sign->x, 230);
    const int32_t wx = sign->x;
    const int32_t wy = sign->y;
    SoundsPlayed();
    const ShotResult r = Tap(wx - 0 + 107, wy - 300 + 79);
    EXPECT_EQ(r.kind, kShotPoints);
    EXPECT_EQ(r.value, 50);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{544});
    EXPECT_TRUE(PopupIs(349, 20, 48, wx + 20, wy - 10, false));
    ASSERT_EQ(field_.animationCount(), 1);
    EXPECT_EQ(field_.animation(0).sprite().layer, 141);
    EXPECT_FALSE(field_.animation(0).sprite().blend);
    EXPECT_EQ(FindKind(kFieldSign), -1);

    // Shot, it may come again; this one slides out and back unshot, and
    // after it no sign duck comes for the rest of the hunt.
    i = WaitFor(kFieldSign);
    ASSERT_GE(i, 0);
    int events = 0;
    for (; events < 100 && FindKind(kFieldSign) >= 0; ++events) Tick();
    EXPECT_EQ(events, 34);  // eleven moves out, a pause of eleven, eleven back, the end noticed
    for (int n = 0; n < 100000; ++n) {
        Tick();
        ASSERT_EQ(FindKind(kFieldSign), -1);
    }
}

// Without special effects no leaf comes; every red bird moves on every
// event, except one moved into a freed slot, which waits for the next.
TEST_F(FieldTargetsTest, RedBirdsAlwaysFlyAndFallWhenShotAndLeavesNeedEffects) {
    SetEffects(false);
    std::map<const gfx::Sprite*, std::pair<gfx::Point, int>> seen;  // where, events without a move
    std::set<uint8_t> kinds;
    int birds = 0;
    for (int n = 0; n < 40000; ++n) {
        Tick();
        std::map<const gfx::Sprite*, std::pair<gfx::Point, int>> now;
        for (int i = 1; i < field_.count(); ++i) {
            kinds.insert(field_.at(i).kind());
            if (field_.at(i).kind() != kFieldRedBird) continue;
            const gfx::Sprite& s = field_.at(i).sprite();
            const auto before = seen.find(&s);
            int still = 0;
            if (before == seen.end()) {
                ++birds;
            } else if (before->second.first.x == s.x && before->second.first.y == s.y) {
                still = before->second.second + 1;
                ASSERT_LT(still, 3) << "a red bird stands still";
            }
            now[&s] = {{s.x, s.y}, still};
        }
        seen = now;
    }
    EXPECT_GE(birds, 20);
    EXPECT_EQ(kinds, (std::set<uint8_t>{kFieldSign, kFieldRedBird}));

    const int i = WaitFor(kFieldRedBird);
    ASSERT_GE(i, 0);
    const int32_t wx = field_.at(i).sprite().x;
    const int32_t wy = field_.at(i).sprite().y;
    const gfx::Point tap = Corner(i);
    SoundsPlayed();
    const uint8_t animations = field_.animationCount();
    const ShotResult r = Tap(tap.x, tap.y);
    EXPECT_EQ(r.kind, kShotPoints);
    EXPECT_EQ(r.value, -50);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{558});
    EXPECT_TRUE(PopupIs(347, 20, 48, wx + 20, wy - 10, false));
    ASSERT_EQ(field_.animationCount(), animations + 1);
    const HitAnimation& fall = field_.animation(animations);
    EXPECT_EQ(fall.sprite().layer, 40);
    EXPECT_TRUE(fall.sprite().blend);
    EXPECT_EQ(fall.sprite().x, wx);
    // One pixel to the right per event from x + 3, until within 5 of x + 43.
    Idle();
    EXPECT_EQ(fall.sprite().x, wx + 4);
    const gfx::Sprite* fallSprite = &fall.sprite();
    int events = 1;
    for (; events < 100; ++events) {
        bool still = false;
        for (int a = 0; a < field_.animationCount(); ++a) still = still || &field_.animation(a).sprite() == fallSprite;
        if (!still) break;
        EXPECT_TRUE(AnimatedAre(LiveSprites()));
        Idle();
    }
    EXPECT_EQ(events, 36);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

TEST_F(FieldTargetsTest, WithoutSpritesNothingIsCountedAndLaunchedTargetsStillMove) {
    field_.release();
    gametest::FailNothrowAllocationsOf(sizeof(gfx::Picture));
    ASSERT_EQ(field_.init(&scene_), 0);
    EXPECT_EQ(field_.decoy(), nullptr);
    EXPECT_EQ(field_.count(), 0);
    for (int n = 0; n < 5000; ++n) EXPECT_EQ(Idle().kind, kShotNothing);
    EXPECT_EQ(field_.count(), 0);
    gametest::FailNothrowAllocationsOf(0);

    // Slot 0 now holds an ordinary target, and it is moved and can be shot.
    while (field_.count() == 0) Tick();
    const gfx::Sprite& first = field_.at(0).sprite();
    const gfx::Point start{first.x, first.y};
    for (int n = 0; n < 3; ++n) Tick();
    EXPECT_TRUE(first.x != start.x || first.y != start.y);
    const gfx::Point tap = Corner(0);
    EXPECT_NE(Tap(tap.x, tap.y).kind, kShotNothing);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

// Hide and show cover targets, animations and the pop-up; a new hunt
// forgets what was left on a scene that is gone.
TEST_F(FieldTargetsTest, HideShowAndANewHuntOnANewScene) {
    while (field_.count() < 4) Idle();
    const gfx::Point tap = Corner(WaitForLoneLeaf());
    Tap(tap.x, tap.y);
    const std::vector<const gfx::Sprite*> live = LiveSprites();
    ASSERT_NE(field_.popup(), nullptr);
    field_.hide();
    EXPECT_EQ(scene_.Sprites().Count() + animated_.Count(), 0);
    field_.show();
    EXPECT_EQ(scene_.Sprites().Count(), live.size() + 1);
    EXPECT_TRUE(AnimatedAre(live));
    for (auto* n = scene_.Sprites().Head(); n != nullptr; n = n->next) EXPECT_EQ(n->layer, n->sprite->layer);
    EXPECT_EQ(field_.release(), 0);
    EXPECT_EQ(scene_.Sprites().Count() + animated_.Count(), 0);
    EXPECT_EQ(field_.release(), FieldTargets::kMissingFrames);
    {
        gfx::Scene old(1, 3, 240, 320);
        old.SetScroll(0, scene_.GetScrollY());
        field_.init(&old);
        while (field_.count() < 3) Idle();
        const gfx::Point first = Corner(1);
        ASSERT_NE(Tap(first.x, first.y).kind, kShotNothing);
        ASSERT_NE(field_.popup(), nullptr);
    }
    EXPECT_EQ(field_.init(&scene_), 0);
    EXPECT_EQ(field_.count(), 1);  // the decoy
    EXPECT_EQ(field_.animationCount(), 0);
    EXPECT_EQ(field_.popup(), nullptr);
    EXPECT_TRUE(AnimatedAre(LiveSprites()));
}

}  // namespace
