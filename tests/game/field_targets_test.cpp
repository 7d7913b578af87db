#include "game/field_targets.h"

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
    ShotResult Tap(gfx::Point p) { return field_.processEvent(Event(kEventPenDown, p.x, p.y), true); }

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
    int WaitFor(uint8_t kind) {
        for (int n = 0; n < 200000 && FindKind(kind) < 0; ++n) Tick();
        return FindKind(kind);
    }
    // Events until there is a leaf that a tap on its corner reaches first.
    int WaitForLoneLeaf() {
        for (int n = 0; n < 200000; ++n, Tick()) {
            for (int i = field_.decoy() != nullptr ? 1 : 0; i < field_.count(); ++i) {
                if (field_.at(i).kind() != kFieldLeaf) continue;
                bool first = true;
                for (int j = 0; j < i; ++j) first = first && field_.at(j).hitTest(Corner(i).x, Corner(i).y, 0, 639) == kHitOutside;
                if (first) return i;
            }
        }
        return -1;
    }
    // A tap on the pixel (0, 0) of target i: transparent, but in its box.
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
    bool PopupIs(uint16_t id, int32_t x, int32_t y, bool blend) const {
        const uint16_t w = id < 330 ? 24 : 20, h = id < 330 ? 24 : id == 348 ? 22 : 48;
        const gfx::Sprite* popup = field_.popup();
        if (popup == nullptr || popup->image == nullptr || popup->x != x || popup->y != y || popup->blend != blend ||
            popup->layer != 231 || popup->image->width != w || popup->image->height != h) {
            return false;
        }
        gfx::Picture expected;
        gfx::LoadPicture(expected, id, w, h);
        return std::equal(expected.surface->pixels, expected.surface->pixels + w * h, popup->image->surface->pixels);
    }
    bool AnimatedAreLive() const {
        std::vector<const gfx::Sprite*> live;
        for (int i = 0; i < field_.count(); ++i) live.push_back(&field_.at(i).sprite());
        for (int i = 0; i < field_.animationCount(); ++i) live.push_back(&field_.animation(i).sprite());
        return AnimatedAre(live);
    }
    // Shoots target i at (dx, dy) of its box: the points, sound and pop-up,
    // and a new animation on this layer.
    const HitAnimation& Shoot(int i, ShotResult want, int sound, uint16_t popup, bool blendPopup, int32_t layer, int dx = 0, int dy = 0) {
        const gfx::Point was{field_.at(i).sprite().x, field_.at(i).sprite().y};
        const uint8_t animations = field_.animationCount();
        const gfx::Point tap{Corner(i).x + dx, Corner(i).y + dy};
        SoundsPlayed();
        const ShotResult r = Tap(tap);
        EXPECT_TRUE(r.kind == want.kind && r.value == want.value) << r.kind << " " << r.value;
        EXPECT_EQ(SoundsPlayed(), sound == 0 ? std::vector<int>{} : std::vector<int>{sound});
        EXPECT_TRUE(PopupIs(popup, was.x + 20, was.y - 10, blendPopup)) << popup;
        EXPECT_EQ(field_.animationCount(), animations + 1);
        const HitAnimation& hit = field_.animation(animations);
        EXPECT_TRUE(hit.sprite().x == was.x && hit.sprite().layer == layer);
        EXPECT_TRUE(AnimatedAreLive());
        return hit;
    }

    FieldTargets field_;
};

TEST_F(FieldTargetsTest, TheDecoyDriftsUpTo250CostsFiftyAndStays) {
    const Target* decoy = field_.decoy();
    ASSERT_NE(decoy, nullptr);
    EXPECT_TRUE(decoy->kind() == kFieldDecoy && decoy->sprite().x == 165 && decoy->sprite().y == 620 &&
                decoy->sprite().layer == 10);
    int32_t lowest = 620;
    for (int n = 0; n < 30000; ++n, Idle()) lowest = std::min(lowest, decoy->sprite().y);
    EXPECT_TRUE(decoy->sprite().y == 250 && lowest == 250 && decoy->sprite().x == 165);
    scene_.SetScroll(0, 200);
    SoundsPlayed();
    const ShotResult r = Tap({165 + 27, 250 - 200 + 37});  // its bottom-right pixel
    EXPECT_TRUE(r.kind == kShotPoints && r.value == -50);
    EXPECT_EQ(SoundsPlayed(), std::vector<int>{562});
    EXPECT_TRUE(PopupIs(347, 165 + 20, 250 + 20, false));
    EXPECT_EQ(field_.decoy(), decoy);
    for (int n = 0; n < 9; ++n) Idle();  // the pop-up stays for ten events
    EXPECT_NE(field_.popup(), nullptr);
    Idle();
    EXPECT_EQ(field_.popup(), nullptr);
    EXPECT_EQ(Tap({165 + 28, 250 - 200}).kind, kShotNothing);  // just outside its box
}

TEST_F(FieldTargetsTest, LeavesPayPointsTimeOrAFormationEverySixthTime) {
    const struct {
        int32_t d;
        ShotResult result;
        uint16_t popup;
        int sound;
    } script[] = {
        {0, {kShotTime, 30}, 325, 555}, {1, {kShotTime, -30}, 326, 556}, {5, {kShotPoints, 1}, 348, 0},
        {2, {kShotFormation, 0}, 327, 557}, {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
        {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
        {2, {kShotFormation, 0}, 327, 557}, {12, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
    };
    for (const auto& e : script) {
        const int i = WaitForLoneLeaf();
        ASSERT_GE(i, 0);
        ASSERT_LT(field_.animationCount(), FieldTargets::kAnimations);
        NextLeafDraw(e.d);
        EXPECT_TRUE(Shoot(i, e.result, e.sound, e.popup, true, 230).sprite().blend) << e.d;
    }
    for (int n = 0; n < 10; ++n) Tick();  // the bursts end on their last frame and leave both lists
    EXPECT_EQ(field_.animationCount(), 0);
    EXPECT_TRUE(AnimatedAreLive());
}

TEST_F(FieldTargetsTest, ASignDuckSlidesInOnScreenPaysFiftyAndOnlyAShotOneIsReplaced) {
    SetEffects(false);
    scene_.SetScroll(0, 300);
    const int i = WaitFor(kFieldSign);
    ASSERT_GE(i, 0);
    const gfx::Sprite* sign = &field_.at(i).sprite();
    EXPECT_TRUE(sign->x == 240 && sign->y >= 300 && sign->y < 620 && sign->layer == 141);
    Advance(201);
    Idle();
    EXPECT_EQ(sign->x, 230);  // 10 pixels every 200 ms
    EXPECT_FALSE(Shoot(i, {kShotPoints, 50}, 544, 349, false, 141, 107, 79).sprite().blend);  // at its far corner
    EXPECT_EQ(FindKind(kFieldSign), -1);

    // Shot, it may come again; this one slides out and back unshot, and after
    // it no sign duck comes for the rest of the hunt.
    ASSERT_GE(WaitFor(kFieldSign), 0);
    int events = 0;
    for (; events < 100 && FindKind(kFieldSign) >= 0; ++events) Tick();
    EXPECT_EQ(events, 34);  // eleven moves out, a pause of eleven, eleven back, the end noticed
    for (int n = 0; n < 100000; ++n) {
        Tick();
        ASSERT_EQ(FindKind(kFieldSign), -1);
    }
}

// A red bird moved into a freed slot waits one event; no other stands still.
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
    const HitAnimation& fall = Shoot(i, {kShotPoints, -50}, 558, 347, false, 40);
    EXPECT_TRUE(fall.sprite().blend);
    Idle();
    EXPECT_EQ(fall.sprite().x, wx + 4);  // one pixel per event from x + 3, until within 5 of x + 43
    const gfx::Sprite* fallSprite = &fall.sprite();
    int events = 1;
    for (bool falling = true; falling && events < 100; ++events) {
        Idle();
        falling = false;
        for (int a = 0; a < field_.animationCount(); ++a) falling = falling || &field_.animation(a).sprite() == fallSprite;
    }
    EXPECT_EQ(events, 36);
    EXPECT_TRUE(AnimatedAreLive());
}

TEST_F(FieldTargetsTest, WithoutSpritesNothingIsCountedAndLaunchedTargetsStillMove) {
    field_.release();
    gametest::FailNothrowAllocationsOf(sizeof(gfx::Picture));
    ASSERT_EQ(field_.init(&scene_), 0);
    EXPECT_EQ(field_.decoy(), nullptr);
    for (int n = 0; n < 5000; ++n) ASSERT_EQ(Idle().kind, kShotNothing);
    EXPECT_EQ(field_.count(), 0);
    gametest::FailNothrowAllocationsOf(0);
    // Slot 0 now holds an ordinary target, and it is moved and can be shot.
    while (field_.count() == 0) Tick();
    const gfx::Sprite& first = field_.at(0).sprite();
    const gfx::Point start{first.x, first.y};
    for (int n = 0; n < 3; ++n) Tick();
    EXPECT_TRUE(first.x != start.x || first.y != start.y);
    EXPECT_NE(Tap(Corner(0)).kind, kShotNothing);
    EXPECT_TRUE(AnimatedAreLive());
}

}  // namespace
