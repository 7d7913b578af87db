#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "app/event_dispatcher.h"
#include "app/game_app.h"
#include "app/input_event.h"
#include "app/message_loop.h"
#include "app/view.h"
#include "game/duck_flock.h"
#include "game/field_targets.h"
#include "game/game_controller.h"
#include "game/game_random.h"
#include "game/hunt_objects.h"
#include "game/target.h"
#include "graphics/blit.h"
#include "graphics/picture_pool.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/testing.h"
#include "tests/app/fresh_app.h"

namespace {

// Non-throwing allocations of this size fail (0: none): sprites lose their buffers.
std::atomic<std::size_t> g_failSize{0};
std::vector<gfx::Picture*> g_held;

// Every free slot of the picture pool, until allocations fail of 0.
void HoldPicturePool() {
    uint32_t taken = 0;
    do {  // until a picture comes from the heap instead
        taken = gfx::PicturesTaken();
        g_held.push_back(gfx::TakePicture(1, 1));
    } while (gfx::PicturesTaken() != taken);
}

// Pictures come from the pool first: its slots are held, so that they come from the heap.
void FailNothrowAllocationsOf(std::size_t size) {
    if (size != 0) HoldPicturePool();
    g_failSize = size;
    if (size != 0) return;
    for (gfx::Picture* picture : g_held) gfx::GivePicture(picture);
    g_held.clear();
}

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == g_failSize) return nullptr;
    try {  // from the ordinary new: the game frees with the ordinary delete
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }

namespace {

class HuntFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartAppOnFreshStore("game"));
        scene_.SetAnimationList(&animated_);
        scene_.SetScroll(0, 639);
        tick_ = 1000;
        plat::testing::SetTick(tick_);
        theApp.GetSettings()->SpecialEffects = true;
        field_.random().seedWith(31);
        ASSERT_TRUE(flock_.init(&scene_) == 0 && field_.init(&scene_) == 0);
        SoundsPlayed();  // whatever the start-up played
    }
    void TearDown() override {
        FailNothrowAllocationsOf(0);
        flock_.release();
        field_.release();
        StopApp();
    }

    static InputEvent Event(uint32_t type, int32_t x = 0, int32_t y = 0) {
        return {.type = type, .x = static_cast<int16_t>(x), .y = static_cast<int16_t>(y), .keyCount = 0, .payload = {}};
    }
    void Advance(uint32_t ms) { plat::testing::SetTick(tick_ += ms); }

    // Sound ids played since the last call; 0 stands for "stop all".
    std::vector<int> SoundsPlayed() {
        std::vector<int> ids;
        const auto& lines = plat::testing::TraceLines();
        for (; traceRead_ < lines.size(); ++traceRead_) {
            const std::string& line = lines[traceRead_];
            if (line.find("\"event\":\"sound\"") == std::string::npos) continue;
            const size_t at = line.find("\"id\":");
            ids.push_back(at == std::string::npos ? 0 : std::stoi(line.substr(at + 5)));
        }
        return ids;
    }

    // What the application's animation list does after an event.
    void StepAnimations() {
        for (auto* n = animated_.Head(); n != nullptr; n = n->next) static_cast<AnimatedSprite*>(n->sprite)->AdvanceIfDue();
    }

    // Whether the animation list holds exactly the live ducks, targets and hit animations.
    bool AnimatedAreLive() const {
        std::vector<const gfx::Sprite*> live, held;
        for (int i = 0; i < flock_.count(); ++i) live.push_back(&flock_.at(i).sprite());
        for (int i = 0; i < field_.count(); ++i) live.push_back(&field_.at(i).sprite());
        for (int i = 0; i < field_.animationCount(); ++i) live.push_back(&field_.animation(i).sprite());
        for (auto* n = animated_.Head(); n != nullptr; n = n->next) held.push_back(n->sprite);
        std::sort(held.begin(), held.end());
        std::sort(live.begin(), live.end());
        return held == live;
    }

    gfx::Point TapOn(const Target& t, bool transparent, const gfx::Scene* scene = nullptr) const {
        if (scene == nullptr) scene = &scene_;
        const gfx::Surface& s = *t.sprite().image->surface;
        for (int32_t row = 0; row < static_cast<int32_t>(s.height); ++row) {
            for (int32_t col = 0; col < static_cast<int32_t>(s.width); ++col) {
                if ((s.At(col, row) == t.sprite().key) != transparent) continue;
                return {t.sprite().x + col - scene->GetScrollX(), t.sprite().y + row - scene->GetScrollY()};
            }
        }
        ADD_FAILURE() << "no such pixel";
        return {};
    }

    gfx::Scene scene_{1, 3, 240, 320};
    gfx::SpriteList animated_;
    DuckFlock flock_;
    FieldTargets field_;
    uint32_t tick_ = 0;
    size_t traceRead_ = 0;
};

// A duck flock on a scene of its own, with the field targets alongside.
class DuckFlockTest : public HuntFixture {
protected:
    FlockResult Idle() { return flock_.processEvent(Event(kEventIdle), true, kFlockUpdate); }
    FlockResult Tap(gfx::Point p, bool loaded = true) { return flock_.processEvent(Event(kEventPenDown, p.x, p.y), loaded, kFlockUpdate); }
    void Move(uint32_t ms) {
        Advance(ms);
        flock_.processEvent(Event(kEventPenUp), true, kFlockUpdate);
    }
    // A new flock from this seed with one duck launched (no time passing).
    void Restart(int32_t seed) {
        flock_.release();
        flock_.init(&scene_);
        g_gameRandom.seedWith(seed);
        for (int i = 0; i < 5000 && Idle().kind != kFlockLaunched; ++i) {}
        ASSERT_GT(flock_.count(), 0) << "no launch";
    }
    int FindKind(uint8_t kind) const {
        for (int i = 0; i < flock_.count(); ++i) if (flock_.at(i).kind() == kind) return i;
        return -1;
    }
    int FirstFlier() const {
        int i = 0;
        while (flock_.at(i).kind() == kDuckSwimmer) ++i;
        return i;
    }
    bool OnlyOn(int i, gfx::Point p) const {
        for (int j = 0; j < flock_.count(); ++j) if (j != i && flock_.at(j).hitTest(p.x, p.y, 0, scene_.GetScrollY()) != kHitOutside) return false;
        return true;
    }
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
    const uint8_t countBefore = flock_.count(), kind = flock_.at(victim).kind();
    const FlockResult r = Tap(tap);
    EXPECT_TRUE(r.kind == kFlockKilled && r.x == before[victim].x && r.y == before[victim].y && r.duckKind == kind);
    EXPECT_TRUE(flock_.count() == countBefore - 1 && g_gameRandom.state() == stateBefore);
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
    // The kind, the kind it flees as, and whether that heads for smaller y.
    const struct { uint8_t kind, flees; bool up; } table[] = {{kDuckBigDown, kDuckBigUp, true}, {kDuckBigUp, kDuckBigDown, false},
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
        EXPECT_TRUE(flock_.at(fled).sprite().layer == (row.kind <= kDuckBigUp ? 130 : 50) && AnimatedAreLive());
        // Three moves at 95 ms: 15 steps each, along y or, on a wide swing, x.
        const gfx::Sprite& s = flock_.at(fled).sprite();
        for (int move = 1; move <= 3; ++move) {
            const gfx::Point old{s.x, s.y};
            Move(96);
            EXPECT_TRUE(std::max(std::abs(s.x - old.x), std::abs(s.y - old.y)) == 15 && (row.up ? s.y <= old.y : s.y >= old.y));
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
    EXPECT_TRUE(SoundsPlayed() == std::vector<int>{563} && s.image != outward);
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
    EXPECT_TRUE(turns == 2 && AnimatedAreLive());
}

TEST_F(DuckFlockTest, FormationsAreRefusedFrom29AndFastDucksAlwaysLeave) {
    g_gameRandom.seedWith(999);
    ASSERT_TRUE(flock_.summonFlock().kind == kFlockFormation && flock_.count() == 5);
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
    for (int n = 15; n <= 30; n += 5) EXPECT_TRUE(flock_.summonFlock().kind == kFlockFormation && flock_.count() == n) << n;
    // A refusal draws nothing. The first duck in the table is the one a tap reaches.
    for (const int32_t expected : {kFlockRefused, kFlockRefused, kFlockFormation}) {
        const int32_t drawn = g_gameRandom.state();
        const uint8_t count = flock_.count();
        EXPECT_EQ(flock_.summonFlock().kind, expected) << int{count};
        EXPECT_TRUE(flock_.count() == (expected == kFlockRefused ? count : count + 5) && (expected != kFlockRefused || g_gameRandom.state() == drawn));
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
    HoldPicturePool();  // a duck leaving then frees no slot for the next
    Restart(4242);
    const uint8_t count = flock_.count();
    const gfx::Point tap = TapOn(flock_.at(FirstFlier()), true);
    FailNothrowAllocationsOf(sizeof(gfx::Picture));
    SoundsPlayed();
    const FlockResult missed = Tap(tap);
    EXPECT_TRUE(missed.kind == kFlockNothing && missed.x == 0 && missed.y == 0 && missed.duckKind == 0 && SoundsPlayed().empty());
    EXPECT_EQ(flock_.summonFlock().kind, kFlockFormation);
    for (int n = 0; n < 1000; ++n) ASSERT_EQ(Idle().kind, kFlockNothing);
    EXPECT_TRUE(flock_.count() == count - 1 && AnimatedAreLive());
    FailNothrowAllocationsOf(0);
    FlockResult launched{};
    while (launched.kind != kFlockLaunched) launched = Idle();
    const Target& last = flock_.at(flock_.count() - 1);
    EXPECT_TRUE(launched.x == last.sprite().x && launched.y == last.sprite().y && launched.duckKind == last.kind());
}

// The field targets on a scene of their own, the flock alongside, idle.
class FieldTargetsTest : public HuntFixture {
protected:
    static void SetEffects(bool on) { theApp.GetSettings()->SpecialEffects = on; }
    ShotResult Idle() { return field_.processEvent(Event(kEventIdle), true); }
    ShotResult Tap(gfx::Point p) { return field_.processEvent(Event(kEventPenDown, p.x, p.y), true); }

    int FindKind(uint8_t kind) const {
        for (int i = field_.decoy() != nullptr ? 1 : 0; i < field_.count(); ++i) if (field_.at(i).kind() == kind) return i;
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
            if (probe.below(100) % 13 == d) return field_.random().seedWith(seed);
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
    const HitAnimation& Shoot(int i, ShotResult want, int sound, uint16_t popup, bool blendPopup, int32_t layer, int dx = 0, int dy = 0) {
        const gfx::Point was{field_.at(i).sprite().x, field_.at(i).sprite().y};
        const uint8_t animations = field_.animationCount();
        const gfx::Point tap{Corner(i).x + dx, Corner(i).y + dy};
        SoundsPlayed();
        const ShotResult r = Tap(tap);
        EXPECT_TRUE(r.kind == want.kind && r.value == want.value) << r.kind << " " << r.value;
        EXPECT_EQ(SoundsPlayed(), sound == 0 ? std::vector<int>{} : std::vector<int>{sound});
        EXPECT_TRUE(PopupIs(popup, was.x + 20, was.y - 10, blendPopup) && field_.animationCount() == animations + 1) << popup;
        const HitAnimation& hit = field_.animation(animations);
        EXPECT_TRUE(hit.sprite().x == was.x && hit.sprite().layer == layer && AnimatedAreLive());
        return hit;
    }
};

TEST_F(FieldTargetsTest, TheDecoyDriftsUpTo250CostsFiftyAndStays) {
    const Target* decoy = field_.decoy();
    ASSERT_NE(decoy, nullptr);
    EXPECT_TRUE(decoy->kind() == kFieldDecoy && decoy->sprite().x == 165 && decoy->sprite().y == 620 && decoy->sprite().layer == 10);
    int32_t lowest = 620;
    for (int n = 0; n < 30000; ++n, Idle()) lowest = std::min(lowest, decoy->sprite().y);
    EXPECT_TRUE(decoy->sprite().y == 250 && lowest == 250 && decoy->sprite().x == 165);
    scene_.SetScroll(0, 200);
    SoundsPlayed();
    const ShotResult r = Tap({165 + 27, 250 - 200 + 37});  // its bottom-right pixel
    EXPECT_TRUE(r.kind == kShotPoints && r.value == -50 && field_.decoy() == decoy);
    EXPECT_TRUE(SoundsPlayed() == std::vector<int>{562} && PopupIs(347, 165 + 20, 250 + 20, false));
    for (int n = 0; n < 9; ++n) Idle();  // the pop-up stays for ten events
    EXPECT_NE(field_.popup(), nullptr);
    Idle();
    EXPECT_EQ(field_.popup(), nullptr);
    EXPECT_EQ(Tap({165 + 28, 250 - 200}).kind, kShotNothing);  // just outside its box
}

TEST_F(FieldTargetsTest, LeavesPayPointsTimeOrAFormationEverySixthTime) {
    // The leaf's draw (mod 13), what the shot gives, its pop-up and its sound.
    const struct { int32_t d; ShotResult result; uint16_t popup; int sound; } script[] = {
        {0, {kShotTime, 30}, 325, 555}, {1, {kShotTime, -30}, 326, 556}, {5, {kShotPoints, 1}, 348, 0},
        {2, {kShotFormation, 0}, 327, 557}, {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
        {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
        {2, {kShotFormation, 0}, 327, 557}, {12, {kShotPoints, 1}, 348, 0}, {2, {kShotPoints, 1}, 348, 0},
    };
    for (const auto& e : script) {
        const int i = WaitForLoneLeaf();
        ASSERT_TRUE(i >= 0 && field_.animationCount() < FieldTargets::kAnimations);
        NextLeafDraw(e.d);
        EXPECT_TRUE(Shoot(i, e.result, e.sound, e.popup, true, 230).sprite().blend) << e.d;
    }
    for (int n = 0; n < 10; ++n) Tick();  // the bursts end on their last frame and leave both lists
    EXPECT_TRUE(field_.animationCount() == 0 && AnimatedAreLive());
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
    EXPECT_FALSE(Shoot(i, {kShotPoints, 50}, 544, 349, false, 141, 107, 79).sprite().blend || FindKind(kFieldSign) != -1);  // at its far corner

    ASSERT_GE(WaitFor(kFieldSign), 0);
    int events = 0;
    for (; events < 100 && FindKind(kFieldSign) >= 0; ++events) Tick();
    EXPECT_EQ(events, 34);  // eleven moves out, a pause of eleven, eleven back, the end noticed
    for (int n = 0; n < 100000; ++n, Tick()) ASSERT_EQ(FindKind(kFieldSign), -1);
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
            birds += before == seen.end() ? 1 : 0;
            const bool moved = before == seen.end() || before->second.first.x != s.x || before->second.first.y != s.y;
            now[&s] = {{s.x, s.y}, moved ? 0 : before->second.second + 1};
            ASSERT_LT(now[&s].second, 3) << "a red bird stands still";
        }
        seen = now;
    }
    EXPECT_TRUE(birds >= 20 && kinds == (std::set<uint8_t>{kFieldSign, kFieldRedBird}));

    const int i = WaitFor(kFieldRedBird);
    ASSERT_GE(i, 0);
    const int32_t wx = field_.at(i).sprite().x;
    const HitAnimation& fall = Shoot(i, {kShotPoints, -50}, 558, 347, false, 40);
    Idle();
    EXPECT_TRUE(fall.sprite().blend && fall.sprite().x == wx + 4);  // one pixel per event from x + 3, until within 5 of x + 43
    int events = 1;  // the fall is the only animation: effects are off
    for (; events < 100 && field_.animationCount() > 0; ++events) Idle();
    EXPECT_TRUE(events == 36 && AnimatedAreLive());
}

TEST_F(FieldTargetsTest, WithoutSpritesNothingIsCountedAndLaunchedTargetsStillMove) {
    field_.release();
    FailNothrowAllocationsOf(sizeof(gfx::Picture));
    ASSERT_TRUE(field_.init(&scene_) == 0 && field_.decoy() == nullptr);
    for (int n = 0; n < 5000; ++n) ASSERT_EQ(Idle().kind, kShotNothing);
    EXPECT_EQ(field_.count(), 0);
    FailNothrowAllocationsOf(0);
    // Slot 0 now holds an ordinary target, and it is moved and can be shot.
    while (field_.count() == 0) Tick();
    const gfx::Sprite& first = field_.at(0).sprite();
    const gfx::Point start{first.x, first.y};
    for (int n = 0; n < 3; ++n) Tick();
    EXPECT_TRUE((first.x != start.x || first.y != start.y) && Tap(Corner(0)).kind != kShotNothing && AnimatedAreLive());
}

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

class HuntTest : public HuntFixture {
protected:
    void SetUp() override {
        HuntFixture::SetUp();
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
        HuntFixture::TearDown();
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

TEST_F(HuntTest, ScrollingStopsAtNineAndTheBottomPausingTakesNoShotAndTheReloadButtonIsSilent) {
    Post({plat::kMsgKeyDown, plat::kVkUp, 0});
    for (int i = 0; i < 70; ++i) Step();
    Post({plat::kMsgKeyUp, plat::kVkUp, 0});
    EXPECT_EQ(ScrollY(), 9);
    EXPECT_TRUE(g_shellMagazine.sprite().y == 9 + 5 && g_huntClock.icon().y == 9 + 304 && g_scoreBoard.field()->sprite.y == 9 + 10);
    Post({plat::kMsgKeyDown, plat::kVkDown, 0});
    EXPECT_EQ(ScrollY(), 19);
    for (int i = 0; i < 70; ++i) Step();
    EXPECT_EQ(ScrollY(), 639);
    Post({plat::kMsgKeyUp, plat::kVkDown, 0});
    SoundsPlayed();
    Tap(228, 315);  // just outside the corner: a shot
    EXPECT_TRUE(g_shellMagazine.shells() == 6 && Stats().shotsFired == 1 && Contains(SoundsPlayed(), 550));
    for (const plat::Message& m : {plat::Message{plat::kMsgChar, kCharEscape, 0}, plat::Message{plat::kMsgFocusLost, 0, 0},
                                   Pen(plat::kMsgPenDown, 235, 315)}) {
        Post({plat::kMsgChar, 'a', 0});
        EXPECT_EQ(theApp.Views()->Next(), kViewHunt);
        Post(m);
        EXPECT_TRUE(theApp.Views()->Next() == kViewPauseMenu && g_shellMagazine.shells() == 6 && SoundsPlayed() == (std::vector<int>{0, 535})) << m.id;
        theApp.Views()->SwitchTo(kViewHunt);
        Step();
        ASSERT_EQ(theApp.Views()->Current(), kViewHunt);
        SoundsPlayed();
    }
    for (int i = 0; i < 7; ++i) Tap(120, 160);
    EXPECT_TRUE(g_shellMagazine.shells() == 0 && g_shotPuffs.puffs().count() > 0);  // the new hunt's puffs are set up
    SoundsPlayed();
    Post({plat::kMsgHotKey, 0xC3, 0});
    Post({plat::kMsgKeyUp, 0xC3, 0});
    EXPECT_TRUE(g_shellMagazine.shells() == 7 && SoundsPlayed().empty());
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
            EXPECT_TRUE(Stats().ducksShot == 1 && Contains(SoundsPlayed(), 544) && g_scoreBoard.score() == (kind >= kDuckSmallDown ? 25 : 10));
            EXPECT_EQ(g_featherBursts.bursts().count(), 1);  // the new hunt's bursts are set up
            Post(Pen(plat::kMsgPenUp, p.x, p.y));
            shot = true;
        }
    }
    ASSERT_TRUE(shot) << "no duck came into view";
    for (const uint32_t end = plat::GetTickCount() + 181 * 1010; static_cast<int32_t>(plat::GetTickCount() - end) < 0;) Step();
    Settings& settings = *theApp.GetSettings();
    ASSERT_TRUE(settings.resultPending);
    EXPECT_TRUE(settings.LastScores == g_scoreBoard.score() && settings.PersentageSuccess == Stats().accuracy());
    EXPECT_STREQ(settings.PlayerName, settings.UserName);
    EXPECT_TRUE(theApp.Views()->Next() == kViewResults && ScrollY() == 0);
}

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
