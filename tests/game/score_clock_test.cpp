// The score's roll and the clock's count, text and time changes.
#include <cstring>

#include "game/hunt_clock.h"
#include "game/score_board.h"
#include "tests/game/hud_fixture.h"
#include "widgets/text_field.h"

namespace {

class HuntTextTest : public hudtest::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        ASSERT_EQ(font_.load(255, 22, 700, 48), 0);
        reference_.InitTextField(0, 0, &font_, 10, true, false);
    }

    // The field shows exactly what a fresh field renders for `text`.
    ::testing::AssertionResult Shows(const TextField* field, const char* text) {
        if (field == nullptr || field->sprite.image == nullptr) return ::testing::AssertionFailure() << "no picture";
        reference_.SetText(text);
        const gfx::Picture& want = *reference_.sprite.image;
        const gfx::Picture& got = *field->sprite.image;
        if (want.width != got.width || want.height != got.height) {
            return ::testing::AssertionFailure() << "length " << got.height << ", \"" << text << "\" needs " << want.height;
        }
        for (int32_t row = 0; row < want.height; ++row) {
            if (std::memcmp(want.surface->Row(row), got.surface->Row(row), want.width * sizeof(uint16_t)) != 0) {
                return ::testing::AssertionFailure() << "row " << row << " differs from \"" << text << "\"";
            }
        }
        return ::testing::AssertionSuccess();
    }

    StripFont font_;
    TextField reference_;
};

using ScoreBoardTest = HuntTextTest;

// The display jumps to the old total and rolls one unit per event; a
// penalty never takes the score below zero; the board follows the scroll and
// comes back after a pause.
TEST_F(ScoreBoardTest, RollsOneUnitPerEventNeverBelowZeroAndFollowsTheScroll) {
    ScoreBoard board;
    ASSERT_TRUE(board.init(3, 10, &scene_));
    EXPECT_TRUE(Shows(board.field(), "0"));
    board.add(10);
    board.tick();
    board.tick();
    board.add(25);  // before the first roll ends
    EXPECT_EQ(board.score(), 35);
    EXPECT_EQ(board.shown(), 10);
    for (int i = 0; i < 24; ++i) board.tick();
    EXPECT_TRUE(Shows(board.field(), "34"));
    board.tick();
    board.tick();
    EXPECT_EQ(board.shown(), 35);
    EXPECT_TRUE(Shows(board.field(), "35"));
    board.add(-50);
    EXPECT_EQ(board.score(), 0);
    for (int i = 0; i < 34; ++i) board.tick();
    EXPECT_TRUE(Shows(board.field(), "1"));
    board.tick();
    board.tick();
    EXPECT_EQ(board.shown(), 0);
    EXPECT_TRUE(Shows(board.field(), "0"));

    scene_.ScrollBy(0, -30);
    board.reposition();
    EXPECT_EQ(board.field()->sprite.y, kStartScroll - 30 + 10);
    board.add(7);
    board.hide();
    EXPECT_FALSE(InScene(board.field()->sprite));
    board.show();
    EXPECT_TRUE(InScene(board.field()->sprite));
    EXPECT_TRUE(Shows(board.field(), "0"));  // the roll has not started yet
    board.release();
    EXPECT_EQ(scene_.Sprites().Count(), 0);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
    board.release();  // twice: both parts are reported missing
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 2u);
    EXPECT_EQ(plat::testing::MessageBoxes()[0].text, "m_font = NULL");
    EXPECT_EQ(plat::testing::MessageBoxes()[1].text, "m_editField = NULL");
    // A new hunt starts from zero whatever the last one showed.
    ASSERT_TRUE(board.init(3, 10, &scene_));
    EXPECT_EQ(board.shown(), 0);
    EXPECT_TRUE(Shows(board.field(), "0"));
    board.release();
}

TEST(HuntClockText, MinutesAndSecondsInTwoDigitsEach) {
    const struct {
        uint32_t seconds;
        const char* text;
    } cases[] = {{180, "03:00"}, {9, "00:09"}, {0, "00:00"}, {59, "00:59"}, {61, "01:01"}, {600, "10:00"},
                 {5999, "99:59"}};
    for (const auto& c : cases) {
        char text[8];
        HuntClock::FormatTime(c.seconds, text);
        EXPECT_STREQ(text, c.text) << c.seconds;
    }
}

class HuntClockTest : public HuntTextTest {
protected:
    void SetUp() override {
        HuntTextTest::SetUp();
        ASSERT_TRUE(clock_.init(3, 225, 180, &scene_));
    }
    void TearDown() override { clock_.release(); }

    uint32_t After(uint32_t ms) {
        plat::testing::AdvanceTick(ms);
        return clock_.tick();
    }

    HuntClock clock_;
};

// A second is counted at the first event more than 1000 ms after the last,
// and one only however late; time changes restart the second and leave the
// text to the next count.
TEST_F(HuntClockTest, ASecondIsCountedAfterMoreThan1000MsAndOnlyOnAnEvent) {
    EXPECT_TRUE(Shows(clock_.field(), "03:00"));
    EXPECT_EQ(After(5000), 180u);  // stopped until started
    clock_.start();
    EXPECT_EQ(After(1000), 180u);
    EXPECT_EQ(After(1), 179u);
    EXPECT_TRUE(Shows(clock_.field(), "02:59"));
    EXPECT_EQ(After(5000), 178u);
    EXPECT_EQ(After(500), 178u);
    EXPECT_EQ(After(501), 177u);
    After(900);
    clock_.addSeconds(30);
    EXPECT_EQ(clock_.seconds(), 207u);
    EXPECT_TRUE(Shows(clock_.field(), "02:57"));
    EXPECT_EQ(After(1000), 207u);
    EXPECT_EQ(After(1), 206u);
    EXPECT_TRUE(Shows(clock_.field(), "03:26"));
    clock_.addSeconds(-30);
    EXPECT_EQ(clock_.seconds(), 176u);
}

// A penalty that uses up the time exactly leaves the clock running; past it,
// or counting down to zero, the hunt ends there.
TEST_F(HuntClockTest, TheHuntEndsAtZeroOrAtAPenaltyPastTheLastSeconds) {
    const struct {
        uint32_t seconds;
        int8_t penalty;
        bool running;
    } cases[] = {{30, -30, true}, {29, -30, false}, {2, 0, true}};
    for (const auto& c : cases) {
        clock_.release();
        ASSERT_TRUE(clock_.init(3, 225, c.seconds, &scene_));
        clock_.start();
        if (c.penalty != 0) clock_.addSeconds(c.penalty);
        EXPECT_EQ(clock_.running(), c.running) << c.seconds;
        EXPECT_EQ(After(1001), c.seconds == 2 ? 1u : 0u) << c.seconds;
        EXPECT_EQ(After(1001), 0u) << c.seconds;
        EXPECT_FALSE(clock_.running()) << c.seconds;
        if (c.penalty == 0) {
            EXPECT_TRUE(Shows(clock_.field(), "00:00"));
        }
    }
}


TEST_F(HuntClockTest, PausingStopsTheClockAndHidesTextAndIcon) {
    EXPECT_EQ(clock_.icon().y, kStartScroll + 304);
    clock_.start();
    After(600);
    EXPECT_EQ(clock_.hide(), 180u);
    EXPECT_FALSE(InScene(clock_.icon()) || InScene(clock_.field()->sprite));
    EXPECT_EQ(After(10000), 180u);  // the paused time is not counted
    clock_.show();
    EXPECT_TRUE(InScene(clock_.icon()) && InScene(clock_.field()->sprite));
    EXPECT_EQ(After(1000), 180u);  // a whole second again after the pause
    EXPECT_EQ(After(1), 179u);
    scene_.ScrollBy(0, -100);
    EXPECT_EQ(clock_.reposition(), 179u);
    EXPECT_EQ(clock_.icon().y, kStartScroll - 100 + 304);
    EXPECT_EQ(clock_.field()->sprite.y, kStartScroll - 100 + 225);
    clock_.release();
    EXPECT_EQ(scene_.Sprites().Count(), 0);
    EXPECT_EQ(clock_.seconds(), 0u);
}

}  // namespace
