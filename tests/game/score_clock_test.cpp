// The text field's rendering, the score's roll and the clock's count, text
// and time changes.
#include <cstring>

#include "game/hunt_clock.h"
#include "game/score_board.h"
#include "tests/game/hunt_fixture.h"
#include "widgets/text_field.h"

namespace {

class HuntTextTest : public gametest::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        ASSERT_EQ(font_.load(255, 22, 700, 48), 0);
        reference_.InitTextField(0, 0, &font_, 10, true, false);
    }

    // The field shows exactly what a fresh field renders for `text`.
    ::testing::AssertionResult Shows(const TextField* field, const char* text) {
        reference_.SetText(text);
        const gfx::Picture& want = *reference_.sprite.image;
        const gfx::Picture& got = *field->sprite.image;
        bool same = want.width == got.width && want.height == got.height;
        for (int32_t row = 0; same && row < want.height; ++row) {
            same = std::memcmp(want.surface->Row(row), got.surface->Row(row), want.width * sizeof(uint16_t)) == 0;
        }
        return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "not \"" << text << "\"";
    }
    int32_t Width(const char* text) const {
        int32_t total = 0;
        for (const char* c = text; *c != 0; ++c) total += font_.glyph(Code(*c)).width;
        return total;
    }
    uint8_t Code(char c) const { return c == ' ' ? static_cast<uint8_t>(font_.lastGlyph() + 6) : static_cast<uint8_t>(c - 48); }

    StripFont font_;
    TextField reference_;
};

// Glyph spans are copied from the strip, the first character at the far end
// of the picture; empty text keeps the old one, long text is cut, small
// letters fall on the blank; a moved field keeps its place.
TEST_F(HuntTextTest, FieldsRenderFromTheEndOfThePicture) {
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
        for (int32_t i = 0; i < g.width; ++i) {
            ASSERT_EQ(std::memcmp(field.sprite.image->surface->Row(end + i),
                                  font_.picture().surface->Row(700 - g.start - g.width + i), 22 * sizeof(uint16_t)), 0)
                << *c << " row " << i;
        }
    }
    field.SetText("12345678");
    const gfx::Picture* shown = field.sprite.image;
    field.SetText("");
    EXPECT_EQ(field.sprite.image, shown);
    EXPECT_EQ(static_cast<int32_t>(field.sprite.height), Width("1234567"));
    field.SetText("ab");
    EXPECT_EQ(static_cast<int32_t>(field.sprite.height), 2 * Width(" "));
    field.sprite.y = 600;
    field.SetText("25:00");
    EXPECT_EQ(field.sprite.y, 600);
    ASSERT_NE(field.sprite.background, nullptr);
    EXPECT_EQ(field.sprite.background->height, field.sprite.height);
}

// The display jumps to the old total and rolls one unit per event; a penalty
// never takes the score below zero; the board follows the scroll and comes
// back after a pause.
TEST_F(HuntTextTest, TheScoreRollsOneUnitPerEventNeverBelowZeroAndFollowsTheScroll) {
    ScoreBoard board;
    ASSERT_TRUE(board.init(3, 10, &scene_));
    EXPECT_TRUE(Shows(board.field(), "0"));
    board.add(10);
    board.tick();
    board.tick();
    board.add(25);  // before the first roll ends
    EXPECT_TRUE(board.score() == 35 && board.shown() == 10);
    for (int i = 0; i < 24; ++i) board.tick();
    EXPECT_TRUE(Shows(board.field(), "34"));
    board.tick();
    board.tick();
    EXPECT_TRUE(Shows(board.field(), "35"));
    board.add(-50);
    EXPECT_EQ(board.score(), 0);
    for (int i = 0; i < 34; ++i) board.tick();
    EXPECT_TRUE(Shows(board.field(), "1"));
    board.tick();
    board.tick();
    EXPECT_TRUE(board.shown() == 0 && Shows(board.field(), "0"));

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
    ASSERT_TRUE(board.init(3, 10, &scene_));  // a new hunt starts from zero
    EXPECT_TRUE(board.shown() == 0 && Shows(board.field(), "0"));
    board.release();
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
    for (const auto& [seconds, want] : {std::pair{9u, "00:09"}, {61u, "01:01"}, {600u, "10:00"}, {5999u, "99:59"}}) {
        char text[8];
        HuntClock::FormatTime(seconds, text);
        EXPECT_STREQ(text, want) << seconds;
    }
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
        EXPECT_TRUE(c.penalty != 0 || Shows(clock_.field(), "00:00"));
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
