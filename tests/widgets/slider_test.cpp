// The slider's geometry, dragging, paging and the auto-repeat of a held tap.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/testing.h"
#include "tests/widgets/pen.h"
#include "widgets/slider.h"

namespace {

constexpr int32_t kTrackX = 71;
constexpr int32_t kTrackY = 21;

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        // The options screen's music slider: 0..70 in steps of 6.
        Init(slider, 0, 70, 30, 6);
    }

    static void Init(Slider& s, int16_t minimum, int16_t maximum, int16_t value, int8_t step) {
        s.InitSlider(4, kTrackX, kTrackY, 18, 184, 18, 35, 380, 380, 377, 378, minimum, maximum, value, step);
    }

    // The thumb's top for a value of the 0..70 slider.
    static int32_t ThumbY(int32_t value) { return kTrackY + 184 - 35 - 2 * value; }
    // The track's y whose tap aims at `value`.
    static int32_t TrackYFor(int32_t value) { return kTrackY + 184 - 17 - 2 * value; }

    uint8_t Offer(uint32_t type, int32_t x, int32_t y) {
        event = Pen(type, x, y);
        return slider.HandleEvent(event);
    }

    void ExpectChange(uint32_t direction, int16_t value, int16_t previous) {
        EXPECT_EQ(event.type, kEventSliderChanged);
        EXPECT_EQ(event.payload[kSlotControlId], 4u);
        EXPECT_EQ(event.payload[kSlotControlValue], direction);
        const SliderChange change = ReadSliderChange(event);
        EXPECT_EQ(change.minimum, 0);
        EXPECT_EQ(change.maximum, 70);
        EXPECT_EQ(change.value, value);
        EXPECT_EQ(change.previous, previous);
        EXPECT_EQ(slider.value, value);
        EXPECT_EQ(slider.thumb.sprite.y, ThumbY(value));
    }

    Slider slider;
    InputEvent event{};
};

TEST_F(SliderTest, GeometryAndTheDefaultsForArgumentsOutOfRange) {
    EXPECT_EQ(slider.thumb.sprite.x, kTrackX);
    EXPECT_EQ(slider.thumb.sprite.y, ThumbY(30));
    EXPECT_TRUE(slider.thumb.sprite.savesBackground);
    EXPECT_FALSE(slider.sprite.savesBackground);
    const struct {
        int16_t minimum, maximum, value;
        int8_t step;
        int16_t wantMaximum, wantValue;
        int8_t wantStep;
        int32_t pixelsPerUnit, repeatDelay;
    } cases[] = {
        {0, 70, 30, 6, 70, 30, 6, 2, 2},  // the music slider
        {0, -1, 99, 0, 10, 5, 3, 13, 8},
        {0, -1, 4, 5, 10, 4, 3, 13, 8},  // the step is measured against the maximum asked for
        {0, 70, -1, 71, 70, 35, 3, 2, 1},
        {20, 10, 5, 6, 10, 5, 6, 184, 15},  // an empty range: one unit spans the whole track
        {10, 10, 10, 6, 10, 10, 6, 1, 180},  // one value: its units overflow to the least
    };
    for (const auto& c : cases) {
        Slider s;
        Init(s, c.minimum, c.maximum, c.value, c.step);
        EXPECT_EQ(s.maximum, c.wantMaximum) << c.maximum;
        EXPECT_EQ(s.value, c.wantValue) << c.value;
        EXPECT_EQ(s.pageStep, c.wantStep) << int{c.step};
        EXPECT_EQ(s.pixelsPerUnit, c.pixelsPerUnit) << c.minimum << ".." << c.maximum;
        EXPECT_EQ(s.repeatDelay, c.repeatDelay) << c.minimum << ".." << c.maximum;
    }
    // Value 0 puts the thumb against the bottom end of the track.
    Slider low;
    Init(low, 0, 70, 0, 6);
    EXPECT_EQ(low.thumb.sprite.y + 35, kTrackY + 184);
}

TEST_F(SliderTest, DraggingTheThumbFollowsThePenAndClampsAtBothEnds) {
    const int32_t grip = ThumbY(30) + 10;
    EXPECT_EQ(Offer(kEventPenDown, kTrackX + 5, grip), 1);
    EXPECT_EQ(event.type, kEventPenDown);  // no value event yet
    EXPECT_EQ(slider.dragMode, Slider::kDragging);
    EXPECT_EQ(slider.thumb.state, Button::kPressed);
    EXPECT_EQ(slider.thumb.sprite.image, slider.thumb.frames->Frames()[1]);

    // The thumb's middle follows the pen.
    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, TrackYFor(40)), 1);
    ExpectChange(Slider::kDragged, 40, 30);

    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, -50), 1);
    ExpectChange(Slider::kDragged, 70, 40);
    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, -80), 0);  // stays at the end: nothing more
    EXPECT_EQ(event.type, kEventPenHeld);

    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, 400), 1);
    ExpectChange(Slider::kDragged, 0, 70);
    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, 420), 0);

    EXPECT_EQ(Offer(kEventPenUp, 0, 0), 1);
    EXPECT_EQ(event.type, kEventSliderReleased);
    EXPECT_EQ(slider.dragMode, Slider::kIdle);
    EXPECT_EQ(slider.thumb.state, Button::kNormal);
    EXPECT_EQ(slider.thumb.sprite.image, slider.thumb.frames->Frames()[0]);
    EXPECT_EQ(Offer(kEventPenUp, 0, 0), 0);  // nothing was going on
}

TEST_F(SliderTest, ATrackTapPagesTowardItAndHoldingRepeatsUntilPassed) {
    EXPECT_EQ(Offer(kEventPenDown, kTrackX, TrackYFor(45)), 1);
    ExpectChange(Slider::kPagedUp, 36, 30);
    EXPECT_EQ(slider.dragMode, Slider::kTapped);

    // Held anywhere: each step waits repeatDelay x 10 ms first.
    const uint32_t before = plat::GetTickCount();
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 1);
    EXPECT_EQ(plat::GetTickCount() - before, 20u);
    ExpectChange(Slider::kPagedUp, 42, 36);
    EXPECT_EQ(slider.dragMode, Slider::kRepeating);
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 1);
    ExpectChange(Slider::kPagedUp, 48, 42);  // one step past the aim
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 0);
    EXPECT_EQ(slider.value, 48);

    EXPECT_EQ(Offer(kEventPenUp, 0, 0), 1);
    EXPECT_EQ(event.type, kEventSliderReleased);

    // Downward, stopping at the minimum.
    EXPECT_EQ(Offer(kEventPenDown, kTrackX + 18, kTrackY + 184), 1);
    ExpectChange(Slider::kPagedDown, 42, 48);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 1);
    EXPECT_EQ(slider.value, 6);
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 1);
    ExpectChange(Slider::kPagedDown, 0, 6);
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 0);
}

TEST_F(SliderTest, TappingAtTheValueOrOffTheTrackReportsNothing) {
    // Coarse units (43 pixels each) leave track points of the value off the thumb.
    Slider coarse;
    coarse.InitSlider(4, kTrackX, kTrackY, 18, 184, 18, 10, 380, 380, 377, 378, 0, 3, 1, 1);
    ASSERT_EQ(coarse.pixelsPerUnit, 43);
    ASSERT_FALSE(coarse.thumb.HitTest(kTrackX, 120));
    event = Pen(kEventPenDown, kTrackX, 120);
    EXPECT_EQ(coarse.HandleEvent(event), 0);
    EXPECT_EQ(event.type, kEventPenDown);
    EXPECT_EQ(coarse.value, 1);

    EXPECT_EQ(Offer(kEventPenDown, kTrackX + 19, TrackYFor(60)), 0);
    EXPECT_EQ(Offer(kEventPenDown, kTrackX, kTrackY - 1), 0);
    EXPECT_EQ(Offer(kEventKeys, kTrackX, TrackYFor(60)), 0);
    EXPECT_EQ(slider.value, 30);
}

}  // namespace
