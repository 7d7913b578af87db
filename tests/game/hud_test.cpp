#include <gtest/gtest.h>

#include <cstring>

#include "app/animated_sprite.h"
#include "app/animation_list.h"
#include "game/feather_bursts.h"
#include "game/hit_splashes.h"
#include "game/hunt_clock.h"
#include "game/scenery.h"
#include "game/score_board.h"
#include "game/shell_magazine.h"
#include "game/shot_puffs.h"
#include "graphics/scene.h"
#include "platform/testing.h"
#include "widgets/text_field.h"

namespace {

constexpr int32_t kStartScroll = 639;

// A hunt-sized scene at the hunt's start with the effects' list, and the hunt's font.
class HudPartsTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        plat::testing::SetTick(1000);
        animations_.SetScene(&scene_);
        scene_.SetScroll(0, kStartScroll);
        ASSERT_EQ(font_.load(255, 22, 700, 48), 0);
        reference_.InitTextField(0, 0, &font_, 10, true, false);
    }
    bool InScene(const gfx::Sprite& sprite) const {
        for (const gfx::SpriteList::Node* n = scene_.Sprites().Head(); n != nullptr; n = n->next) if (n->sprite == &sprite) return true;
        return false;
    }
    int Shown() const { return scene_.Sprites().Count() + animations_.Count(); }
    // The field shows exactly what a fresh field renders for `text`.
    ::testing::AssertionResult Shows(const TextField* field, const char* text) {
        reference_.SetText(text);
        const gfx::Picture& want = *reference_.sprite.image;
        const gfx::Picture& got = *field->sprite.image;
        bool same = want.width == got.width && want.height == got.height;
        for (int32_t row = 0; same && row < want.height; ++row)
            same = std::memcmp(want.surface->Row(row), got.surface->Row(row), want.width * sizeof(uint16_t)) == 0;
        return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "not \"" << text << "\"";
    }
    int32_t Width(const char* text) const {
        int32_t total = 0;
        for (const char* c = text; *c != 0; ++c) total += font_.glyph(Code(*c)).width;
        return total;
    }
    uint8_t Code(char c) const { return c == ' ' ? static_cast<uint8_t>(font_.lastGlyph() + 6) : static_cast<uint8_t>(c - 48); }

    // Time passes, the animations step and the effects clean up, as the events of a hunt do.
    void Run(uint32_t ms, uint32_t every = 10) {
        for (uint32_t t = 0; t < ms; t += every) {
            plat::testing::AdvanceTick(every);
            animations_.Step();
            puffs_.update();
            feathers_.update();
            splashes_.update();
        }
    }

    gfx::Scene scene_{gfx::kGroundColumns, gfx::kGroundRows, 240, 320};
    AnimationList animations_;
    StripFont font_;
    TextField reference_;
    ShotPuffs puffs_;
    FeatherBursts feathers_;
    HitSplashes splashes_;
};

// Empty text keeps the old, long text is cut, small letters fall on the blank.
TEST_F(HudPartsTest, FieldsRenderFromTheEndOfThePicture) {
    TextField field;
    field.InitTextField(30, 40, &font_, 7, true, false);
    EXPECT_EQ(static_cast<int32_t>(field.sprite.height), Width(" "));  // a field starts as a space
    EXPECT_EQ(field.sprite.key, font_.picture().surface->At(0, 0));
    const char* text = "10 20";
    field.SetText(text);
    ASSERT_EQ(static_cast<int32_t>(field.sprite.height), Width(text));
    int32_t end = Width(text);
    for (const char* c = text; *c != 0; ++c) {
        const StripFont::Glyph g = font_.glyph(Code(*c));
        end -= g.width;
        for (int32_t i = 0; i < g.width; ++i)
            ASSERT_EQ(std::memcmp(field.sprite.image->surface->Row(end + i),
                                  font_.picture().surface->Row(700 - g.start - g.width + i), 22 * sizeof(uint16_t)), 0)
                << *c << " row " << i;
    }
    field.SetText("12345678");
    const gfx::Picture* shown = field.sprite.image;
    field.SetText("");
    EXPECT_TRUE(field.sprite.image == shown && static_cast<int32_t>(field.sprite.height) == Width("1234567"));
    field.SetText("ab");
    EXPECT_EQ(static_cast<int32_t>(field.sprite.height), 2 * Width(" "));
    field.sprite.y = 600;
    field.SetText("25:00");
    ASSERT_TRUE(field.sprite.y == 600 && field.sprite.background != nullptr && field.sprite.background->height == field.sprite.height);
}

// The display jumps to the old total when more is added mid-roll.
TEST_F(HudPartsTest, TheScoreRollsOneUnitPerEventNeverBelowZeroAndFollowsTheScroll) {
    ScoreBoard board;
    ASSERT_TRUE(board.init(3, 10, &scene_));
    EXPECT_TRUE(Shows(board.field(), "0"));
    const auto ticks = [&board](int n) {
        for (int i = 0; i < n; ++i) board.tick();
        return board.field();
    };
    board.add(10);
    ticks(2);
    board.add(25);  // before the first roll ends
    EXPECT_TRUE(board.score() == 35 && board.shown() == 10);
    EXPECT_TRUE(Shows(ticks(24), "34") && Shows(ticks(2), "35"));
    board.add(-50);
    EXPECT_TRUE(board.score() == 0 && Shows(ticks(34), "1") && Shows(ticks(2), "0") && board.shown() == 0);

    scene_.ScrollBy(0, -30);
    board.reposition();
    EXPECT_EQ(board.field()->sprite.y, kStartScroll - 30 + 10);
    board.add(7);
    board.hide();
    board.show();
    EXPECT_TRUE(Shows(board.field(), "0"));  // the roll has not started yet
    board.release();
    EXPECT_TRUE(scene_.Sprites().Count() == 0 && plat::testing::MessageBoxes().empty());
    board.release();  // twice: both parts are reported missing
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 2u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text + "|" + plat::testing::MessageBoxes()[1].text, "m_font = NULL|m_editField = NULL");
    ASSERT_TRUE(board.init(3, 10, &scene_));  // a new hunt starts from zero
    EXPECT_TRUE(board.shown() == 0 && Shows(board.field(), "0"));
    board.release();
}

TEST_F(HudPartsTest, TheClockCountsWholeSecondsEndsAtZeroOrPastAPenaltyAndStopsWhilePaused) {
    HuntClock clock;
    const auto after = [&clock](uint32_t ms) {
        plat::testing::AdvanceTick(ms);
        return clock.tick();
    };
    ASSERT_TRUE(clock.init(3, 225, 180, &scene_));
    EXPECT_TRUE(Shows(clock.field(), "03:00") && clock.icon().y == kStartScroll + 304);
    EXPECT_EQ(after(5000), 180u);  // stopped until started
    clock.start();
    for (const auto& [ms, want] : {std::pair{1000u, 180u}, {1u, 179u}, {5000u, 178u}, {500u, 178u}, {501u, 177u}}) EXPECT_EQ(after(ms), want) << ms;
    EXPECT_TRUE(Shows(clock.field(), "02:57"));
    after(900);
    clock.addSeconds(30);
    EXPECT_TRUE(clock.seconds() == 207u && Shows(clock.field(), "02:57"));  // shown at the next count
    EXPECT_TRUE(after(1000) == 207u && after(1) == 206u && Shows(clock.field(), "03:26"));
    clock.addSeconds(-30);
    EXPECT_EQ(clock.seconds(), 176u);
    after(600);
    EXPECT_TRUE(clock.hide() == 176u && after(10000) == 176u);  // the paused time is not counted
    clock.show();
    EXPECT_TRUE(after(1000) == 176u && after(1) == 175u);  // a whole second again after the pause
    scene_.ScrollBy(0, -100);
    EXPECT_TRUE(clock.reposition() == 175u && clock.icon().y == kStartScroll - 100 + 304 && clock.field()->sprite.y == kStartScroll - 100 + 225);
    for (const auto& [seconds, want] : {std::pair{9u, "00:09"}, {61u, "01:01"}, {600u, "10:00"}, {5999u, "99:59"}}) {
        char text[8];
        HuntClock::FormatTime(seconds, text);
        EXPECT_STREQ(text, want) << seconds;
    }
    const struct { uint32_t seconds; int8_t penalty; bool running; } ends[] = {{30, -30, true}, {29, -30, false}, {2, 0, true}};
    for (const auto& c : ends) {
        clock.release();
        ASSERT_TRUE(clock.init(3, 225, c.seconds, &scene_));
        clock.start();
        if (c.penalty != 0) clock.addSeconds(c.penalty);
        EXPECT_TRUE(clock.running() == c.running && after(1001) == (c.seconds == 2 ? 1u : 0u)) << c.seconds;
        EXPECT_TRUE(after(1001) == 0u && !clock.running()) << c.seconds;
        EXPECT_TRUE(c.penalty != 0 || Shows(clock.field(), "00:00"));
    }
    clock.release();
    EXPECT_TRUE(scene_.Sprites().Count() == 0 && clock.seconds() == 0u);
}

// The blink's timer holds across the tick's wrap.
TEST_F(HudPartsTest, TheShellStripCountsShotsStaysOnTheScreenAndBlinksWhenEmptyAndTheBonusSpotComesOncePerHunt) {
    ShellMagazine magazine;
    ASSERT_TRUE(magazine.init(212, 5, &scene_, 7));
    const auto frame = [&magazine] { return magazine.sprite().Sequence().Index(); };
    uint32_t now = plat::GetTickCount();
    magazine.resetBlink(now);
    magazine.blink(now + 500);  // loaded: no blink
    EXPECT_TRUE(frame() == 0 && magazine.sprite().y == kStartScroll + 5);
    for (int shot = 1; shot <= 8; ++shot) {
        EXPECT_EQ(magazine.isLoaded(), shot <= 7);
        plat::testing::AdvanceTick(10);
        magazine.fire();
        EXPECT_TRUE(magazine.shells() == std::max(0, 7 - shot) && frame() == std::min(shot, 7)) << shot;
    }
    magazine.resetBlink(now);
    for (const auto& [after, want] : {std::pair{140u, 7}, {141u, 8}, {282u, 7}, {423u, 8}}) {
        magazine.blink(now + after);
        EXPECT_EQ(frame(), want) << after;
    }
    now = 0xFFFFFFA0u;  // just before the counter wraps, and past it
    magazine.resetBlink(now);
    for (const auto& [at, want] : {std::pair{0xFFFFFFF0u, 8}, {0x20u, 8}, {0x40u, 7}}) {
        magazine.blink(at);
        EXPECT_EQ(frame(), want) << at;
    }
    for (int i = 0; i < 2; ++i) {  // a full magazine stays full
        magazine.reload();
        EXPECT_TRUE(magazine.shells() == 7 && frame() == 0);
    }
    scene_.ScrollBy(0, -10);
    magazine.reposition();
    magazine.hide();
    scene_.SetScroll(0, 0);  // another screen's scroll while paused
    magazine.show();
    magazine.show();
    EXPECT_TRUE(scene_.Sprites().Count() == 1 && magazine.sprite().layer == ShellMagazine::kLayer && magazine.sprite().y == kStartScroll - 10 + 5);
    magazine.release();
    EXPECT_EQ(scene_.Sprites().Count(), 0);
    magazine.fire();  // nothing left to touch
    magazine.blink(plat::GetTickCount() + 1000);

    // The scenery's pieces, and the bonus spot once per hunt.
    Scenery scenery;
    ASSERT_EQ(scenery.init(&scene_), 0);
    EXPECT_TRUE(scene_.Sprites().Count() == Scenery::kPieces && scenery.piece(7).layer == 120);  // the reeds in front of the small ducks
    const gfx::Sprite& spot = scenery.bonusSpot();
    EXPECT_TRUE(spot.x == 165 && spot.y == 914 && spot.layer == 101);
    for (int i = 0; i < Scenery::kPieces; ++i) {
        const gfx::Sprite& piece = scenery.piece(i);
        ASSERT_TRUE(piece.image != nullptr && !piece.savesBackground && piece.key == piece.image->surface->At(0, 0)) << i;
    }
    scenery.bonusTaken = true;
    scenery.takeBonus();
    EXPECT_TRUE(!InScene(spot) && spot.image != nullptr);  // still allocated
    scenery.hide();
    scenery.show();
    scenery.show();  // twice puts nothing in twice
    EXPECT_TRUE(scene_.Sprites().Count() == Scenery::kPieces - 1 && !InScene(spot));
    EXPECT_TRUE(scenery.release() == 0 && scene_.Sprites().Count() == 0);
    scenery.init(&scene_);
    EXPECT_TRUE(!scenery.bonusTaken && InScene(spot));
    scenery.release();
}

// Hidden, effects wait outside the scene: the screens in between step nothing of the hunt.
TEST_F(HudPartsTest, PuffsBurstsAndSplashesEndAfterTheirLastStepAndWaitWhileHidden) {
    ScoreBoard board;
    ASSERT_TRUE(board.init(3, 10, &scene_));
    puffs_.init(&scene_);
    feathers_.init(&scene_);
    puffs_.add(100, 50);  // a tap on the screen: 5 frames of 75 ms
    EXPECT_TRUE(puffs_.puffs().at(0).x == 100 - 14 && puffs_.puffs().at(0).y == kStartScroll + 50 - 15);
    feathers_.show(100, 400, 1);  // 7 frames of 75 ms
    feathers_.show(50, 300, 4);
    feathers_.show(70, 200, 2);  // a third while two run
    ASSERT_TRUE(feathers_.bursts().count() == 2 && puffs_.puffs().count() == 1);
    const AnimatedSprite& big = feathers_.bursts().at(0);
    const AnimatedSprite& small = feathers_.bursts().at(1);
    EXPECT_TRUE(big.y == 400 - 25 && big.width == 70u && big.layer == 131);
    EXPECT_TRUE(small.x == 50 - 4 && small.width == 36u && small.layer == 51);
    Run(100);
    const int32_t frame = puffs_.puffs().at(0).Sequence().Index();
    puffs_.hide();
    feathers_.hide();
    animations_.Clear();
    plat::testing::AdvanceTick(5000);
    animations_.Step();
    EXPECT_TRUE(Shown() == 1 && puffs_.puffs().at(0).Sequence().Index() == frame);  // the score alone
    puffs_.show();
    feathers_.show();
    puffs_.show();
    EXPECT_TRUE(animations_.Count() == 3 && scene_.Sprites().Count() == 4);
    const auto scoreShows = [] {  // reads the panel as the last frame left it
        int ink = 0;
        for (int32_t y = 10; y < 20; ++y) for (int32_t x = 3; x < 25; ++x) ink += plat::testing::PresentedPanel()[y * gfx::kScreenWidth + x] != 0;
        return ink > 0;
    };
    scene_.RedrawAll();
    ASSERT_TRUE(scoreShows());
    Run(250);  // the puff's last frame is redrawn in full, then it goes
    EXPECT_TRUE(puffs_.puffs().count() == 0 && feathers_.bursts().count() == 2 && scoreShows());
    Run(200);
    EXPECT_TRUE(feathers_.bursts().count() == 0 && Shown() == 1);
    for (int i = 0; i < 30; ++i) puffs_.add(i, 100);
    feathers_.show(10, 400, 4);
    EXPECT_EQ(puffs_.puffs().count(), ShotPuffs::kMaxPuffs);
    puffs_.release();  // release takes running effects out of the animation list
    puffs_.init(&scene_);
    EXPECT_TRUE(puffs_.puffs().count() == 0 && animations_.Count() == 1);
    feathers_.release();
    board.release();
    EXPECT_EQ(Shown(), 0);

    ASSERT_EQ(splashes_.init(&scene_, &font_), 0);
    splashes_.show(100, 400, 2, 10);
    splashes_.show(60, 500, 3, 25);
    const auto digits = [this](int a, int b) {
        return static_cast<uint32_t>(font_.glyph(static_cast<uint8_t>(a)).width + font_.glyph(static_cast<uint8_t>(b)).width);
    };
    const HitSplashes::Splash& bigSplash = splashes_.at(0);
    const HitSplashes::Splash& smallSplash = splashes_.at(1);
    EXPECT_TRUE(bigSplash.faller.layer == 130 && smallSplash.faller.layer == 50);
    EXPECT_TRUE(bigSplash.label.sprite.height == digits(1, 0) && smallSplash.label.sprite.height == digits(2, 5));
    EXPECT_TRUE(animations_.Count() == 2 && scene_.Sprites().Count() == 4);  // the fallers animate; the labels do not
    Run(50, 50);  // 50 ms is not yet a step
    ASSERT_EQ(bigSplash.faller.x, 100);
    Run(51, 51);
    EXPECT_TRUE(bigSplash.faller.x == 104 && bigSplash.label.sprite.x == 96 && bigSplash.faller.y == 400);  // the fall starts 3 further on
    int events = 1;
    for (; splashes_.count() > 0 && events < 100; ++events) Run(51, 51);
    EXPECT_TRUE(events == 8 && Shown() == 0);  // seven steps take the label within 5 of its goal, 12 away

    for (int i = 0; i < 36; ++i) splashes_.show(10 + i, 300, 4, 25);
    ASSERT_EQ(splashes_.count(), HitSplashes::kMaxSplashes);
    Run(510, 51);
    EXPECT_EQ(splashes_.count(), 0);
    splashes_.show(100, 400, 1, 10);
    splashes_.show(120, 420, 4, 25);
    Run(51, 51);
    splashes_.hide();
    EXPECT_EQ(Shown(), 0);
    animations_.Clear();  // the screens in between empty the list
    splashes_.show();
    splashes_.show();
    EXPECT_TRUE(scene_.Sprites().Count() == 4 && animations_.Count() == 2);
    EXPECT_TRUE(splashes_.release() == 0 && Shown() == 0 && splashes_.release() == HitSplashes::kAlreadyReleased);
    splashes_.show(100, 400, 1, 10);  // not set up: nothing
    EXPECT_EQ(splashes_.count(), 0);
}

}  // namespace
