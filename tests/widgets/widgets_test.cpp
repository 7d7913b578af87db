#include <gtest/gtest.h>

#include <vector>

#include "app/input_translator.h"
#include "graphics/scene.h"
#include "platform/platform.h"
#include "platform/testing.h"
#include "widgets/button.h"
#include "widgets/confirm_popup.h"
#include "widgets/slider.h"
#include "widgets/toggle_box.h"

namespace {

InputEvent Pen(uint32_t type, int32_t x, int32_t y) {
    return {.type = type, .x = static_cast<int16_t>(x), .y = static_cast<int16_t>(y), .keyCount = 0, .payload = {}};
}

// The results screen's leave button, 26 x 44 at (200, 13).
TEST(ButtonAndToggleBox, TakeWhatTheirPressStartedClickOnALiftOrFlipOnAPressAndBorrowedLooksStayWithTheirOwner) {
    // Taken or not, the event's type and whether the button looks and is pressed afterwards.
    struct Step { uint32_t type; int32_t x, y; uint8_t taken; uint32_t becomes; bool pressed; };
    const struct { const char* what; bool disabled; std::vector<Step> steps; } cases[] = {
        {"a click", false,
         {{kEventPenDown, 210, 30, 1, kEventIdle, true}, {kEventPenHeld, 0, 0, 1, kEventPenHeld, true},
          {kEventKeys, 0, 0, 1, kEventKeys, true}, {kEventPenUp, 226, 57, 1, kEventControlClicked, false},  // the far corner
          {kEventPenHeld, 210, 30, 0, kEventPenHeld, false}}},
        {"slid off before the lift", false, {{kEventPenDown, 210, 30, 1, kEventIdle, true}, {kEventPenUp, 227, 30, 1, kEventPenUp, false}}},
        {"pressed elsewhere", false,
         {{kEventPenDown, 199, 30, 0, kEventPenDown, false}, {kEventPenHeld, 210, 30, 0, kEventPenHeld, false},
          {kEventPenUp, 210, 30, 0, kEventPenUp, false}, {kEventPenDown, 210, 58, 0, kEventPenDown, false}}},
        {"disabled", true, {{kEventPenDown, 210, 30, 0, kEventPenDown, false}, {kEventPenUp, 210, 30, 0, kEventPenUp, false}}},
    };
    for (const auto& c : cases) {
        plat::testing::Reset();
        Button button;
        button.InitButton(9, 200, 13, 26, 44, 392, 393);
        ASSERT_EQ(button.frames->Count(), 2);
        if (c.disabled) button.SetState(Button::kDisabled);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(std::string(c.what) + " " + std::to_string(i));
            const Step& s = c.steps[i];
            InputEvent event = Pen(s.type, s.x, s.y);
            EXPECT_EQ(button.HandleEvent(event), s.taken);
            EXPECT_TRUE(event.type == s.becomes && button.tracking == s.pressed && button.sprite.image == button.frames->Frames()[s.pressed]);
            EXPECT_TRUE(c.disabled || button.state == (s.pressed ? Button::kPressed : Button::kNormal));
            EXPECT_TRUE(s.becomes != kEventControlClicked || event.payload[kSlotControlId] == 9u);
        }
    }
    // A toggle box flips on a pen down inside; states other than 0 and 1 ignore taps.
    plat::testing::Reset();
    ToggleBox box;
    box.InitToggle(7, 144, 31, 26, 24, 375, 376, 1);
    ASSERT_TRUE(box.frames != nullptr && box.sprite.image == box.frames->Frames()[1]);
    for (const auto& [x, y, state] : {std::tuple{170, 55, 0}, {144, 31, 1}}) {  // both corners inside
        InputEvent event = Pen(kEventPenDown, x, y);
        EXPECT_EQ(box.HandleEvent(event), 1);
        EXPECT_TRUE(event.type == kEventControlToggled && event.payload[kSlotControlId] == 7u && event.payload[kSlotControlValue] == static_cast<uint32_t>(state));
        EXPECT_EQ(box.sprite.image, box.frames->Frames()[state]);
    }
    InputEvent event{};
    for (const InputEvent& other : {Pen(kEventPenUp, 150, 40), Pen(kEventPenHeld, 150, 40), Pen(kEventPenDown, 171, 40), Pen(kEventPenDown, 150, 30)}) {
        event = other;
        EXPECT_TRUE(box.HandleEvent(event) == 0 && event.type == other.type);
    }
    box.state = 2;
    event = Pen(kEventPenDown, 150, 40);
    EXPECT_TRUE(box.HandleEvent(event) == 0 && box.state == 2);

    FrameSet looks;
    looks.LoadFrames(375, 376, 26, 24);
    {
        Button key;
        key.InitButtonShared(5, 10, 10, 26, 24, looks.Frames(), 2);
        event = Pen(kEventPenDown, 15, 15);
        EXPECT_TRUE(key.HandleEvent(event) == 1 && key.sprite.image == looks.Frames()[1]);
        ToggleBox shared;
        shared.InitToggle(8, 144, 154, 26, 24, 0, 0, 0, &looks);
        EXPECT_TRUE(shared.frames == nullptr && shared.sprite.image == looks.Frames()[0]);
    }
    EXPECT_TRUE(looks.Count() == 2 && looks.Frames()[0]->surface != nullptr && looks.Frames()[1]->surface != nullptr);
}

constexpr int32_t kTrackX = 71;
constexpr int32_t kTrackY = 21;

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        Init(slider, 0, 70, 30, 6);  // the options screen's music slider
    }
    static void Init(Slider& s, int16_t minimum, int16_t maximum, int16_t value, int8_t step, uint16_t thumb = 35) {
        s.InitSlider(4, kTrackX, kTrackY, 18, 184, 18, thumb, 380, 380, 377, 378, minimum, maximum, value, step);
    }
    // The thumb's top for a value of the 0..70 slider, and the track's y whose tap aims at a value.
    static int32_t ThumbY(int32_t value) { return kTrackY + 184 - 35 - 2 * value; }
    static int32_t TrackYFor(int32_t value) { return kTrackY + 184 - 17 - 2 * value; }

    uint8_t Offer(uint32_t type, int32_t x, int32_t y) {
        event = Pen(type, x, y);
        return slider.HandleEvent(event);
    }
    uint8_t Held() { return Offer(kEventPenHeld, 0, 0); }
    // The event is taken and reports the change from `previous` to `value` in this direction.
    void ExpectChange(uint8_t taken, uint32_t direction, int16_t value, int16_t previous) {
        EXPECT_EQ(taken, 1);
        EXPECT_TRUE(event.type == kEventSliderChanged && event.payload[kSlotControlId] == 4u && event.payload[kSlotControlValue] == direction);
        const SliderChange change = ReadSliderChange(event);
        EXPECT_TRUE(change.minimum == 0 && change.maximum == 70 && change.value == value && change.previous == previous)
            << change.value << " from " << change.previous;
        EXPECT_TRUE(slider.value == value && slider.thumb.sprite.y == ThumbY(value)) << slider.value;
    }

    Slider slider;
    InputEvent event{};
};

TEST_F(SliderTest, GeometryAndTheDefaultsForArgumentsOutOfRange) {
    EXPECT_TRUE(slider.thumb.sprite.x == kTrackX && slider.thumb.sprite.y == ThumbY(30));
    EXPECT_TRUE(slider.thumb.sprite.savesBackground && !slider.sprite.savesBackground);
    // Asked minimum, maximum, value, step; then the maximum, value, step, pixels per unit and repeat delay set.
    const struct { int16_t minimum, maximum, value; int8_t step;
                   int16_t wantMaximum, wantValue; int8_t wantStep; int32_t pixelsPerUnit, repeatDelay; } cases[] = {
        {0, 70, 30, 6, 70, 30, 6, 2, 2},  // the music slider
        {0, -1, 99, 0, 10, 5, 3, 13, 8},
        {0, -1, 4, 5, 10, 4, 3, 13, 8},  // the step is measured against the maximum asked for
        {0, 70, -1, 71, 70, 35, 3, 2, 1},
        {20, 10, 5, 6, 10, 5, 6, 184, 15},   // an empty range: one unit spans the whole track
        {10, 10, 10, 6, 10, 10, 6, 1, 180},  // one value: its units overflow to the least
    };
    for (const auto& c : cases) {
        Slider s;
        Init(s, c.minimum, c.maximum, c.value, c.step);
        EXPECT_TRUE(s.maximum == c.wantMaximum && s.value == c.wantValue && s.pageStep == c.wantStep && s.pixelsPerUnit == c.pixelsPerUnit &&
                    s.repeatDelay == c.repeatDelay) << c.minimum << ".." << c.maximum;
    }
    Slider low;
    Init(low, 0, 70, 0, 6);
    EXPECT_EQ(low.thumb.sprite.y + 35, kTrackY + 184);  // value 0: against the bottom end
}

// A drag clamps at both ends; each paging repeat waits repeatDelay x 10 ms and stops one step past the aim.
TEST_F(SliderTest, DraggingFollowsThePenAndATrackTapPagesTowardItUntilPassed) {
    EXPECT_EQ(Offer(kEventPenDown, kTrackX + 5, ThumbY(30) + 10), 1);
    EXPECT_TRUE(event.type == kEventPenDown && slider.dragMode == Slider::kDragging);  // no value event yet
    EXPECT_TRUE(slider.thumb.state == Button::kPressed && slider.thumb.sprite.image == slider.thumb.frames->Frames()[1]);
    ExpectChange(Offer(kEventPenHeld, kTrackX + 5, TrackYFor(40)), Slider::kDragged, 40, 30);  // the thumb's middle follows the pen
    ExpectChange(Offer(kEventPenHeld, kTrackX + 5, -50), Slider::kDragged, 70, 40);
    EXPECT_TRUE(Offer(kEventPenHeld, kTrackX + 5, -80) == 0 && event.type == kEventPenHeld);  // stays at the end: nothing more
    ExpectChange(Offer(kEventPenHeld, kTrackX + 5, 400), Slider::kDragged, 0, 70);
    EXPECT_EQ(Offer(kEventPenHeld, kTrackX + 5, 420), 0);
    EXPECT_TRUE(Offer(kEventPenUp, 0, 0) == 1 && event.type == kEventSliderReleased && slider.dragMode == Slider::kIdle);
    EXPECT_TRUE(slider.thumb.state == Button::kNormal && slider.thumb.sprite.image == slider.thumb.frames->Frames()[0]);
    EXPECT_EQ(Offer(kEventPenUp, 0, 0), 0);  // nothing was going on

    slider.value = 30;  // paging from the middle
    ExpectChange(Offer(kEventPenDown, kTrackX, TrackYFor(45)), Slider::kPagedUp, 36, 30);
    EXPECT_EQ(slider.dragMode, Slider::kTapped);
    const uint32_t before = plat::GetTickCount();
    ExpectChange(Held(), Slider::kPagedUp, 42, 36);
    EXPECT_TRUE(plat::GetTickCount() - before == 20u && slider.dragMode == Slider::kRepeating);
    ExpectChange(Held(), Slider::kPagedUp, 48, 42);
    EXPECT_EQ(Held(), 0);
    EXPECT_TRUE(Offer(kEventPenUp, 0, 0) == 1 && event.type == kEventSliderReleased);
    ExpectChange(Offer(kEventPenDown, kTrackX + 18, kTrackY + 184), Slider::kPagedDown, 42, 48);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Held(), 1);
    ExpectChange(Held(), Slider::kPagedDown, 0, 6);
    EXPECT_TRUE(Held() == 0 && Offer(kEventPenUp, 0, 0) == 1);
    for (const auto& [x, y, type] : {std::tuple{kTrackX + 19, TrackYFor(60), kEventPenDown}, {kTrackX, kTrackY - 1, kEventPenDown},
                                     {kTrackX, TrackYFor(60), kEventKeys}})
        EXPECT_EQ(Offer(type, x, y), 0) << x << "," << y;
    EXPECT_EQ(slider.value, 0);
    // Coarse units (43 pixels each) leave track points of the value off the thumb.
    Slider coarse;
    Init(coarse, 0, 3, 1, 1, 10);
    ASSERT_TRUE(coarse.pixelsPerUnit == 43 && !coarse.thumb.HitTest(kTrackX, 120));
    event = Pen(kEventPenDown, kTrackX, 120);
    EXPECT_TRUE(coarse.HandleEvent(event) == 0 && event.type == kEventPenDown && coarse.value == 1);
}

plat::Message Down(int32_t x, int32_t y) { return {plat::kMsgPenDown, 0, static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16)}; }
plat::Message Up(int32_t x, int32_t y) { return {plat::kMsgPenUp, 0, static_cast<uint32_t>(x) | (static_cast<uint32_t>(y) << 16)}; }

// No heartbeat: a popup that missed its answer reaches the end of the queue and says no.
TEST(ConfirmPopup, TheLiftDecidesKeysDoNothingAndAClosedWindowAnswersNo) {
    const struct { const char* what; std::vector<plat::Message> messages; int answer; bool more; } cases[] = {
        {"lifted on no", {Down(140, 200), {plat::kMsgPenMove, 0, 150 | (100 << 16)}, Up(150, 100)}, 0, true},
        {"corners of yes", {Down(161, 230), Up(137, 190)}, 1, false},
        {"lifted outside", {Down(150, 100), Up(100, 100), Down(20, 20), Up(20, 20), {plat::kMsgTimer, 15000, 0}, Down(145, 200), Up(145, 200)}, 1, false},
        // Up and return stay held while the player answers.
        {"keys", {{plat::kMsgKeyDown, plat::kVkUp, 0}, {plat::kMsgHotKey, 0xC3, 0}, {plat::kMsgKeyUp, 0xC3, 0}, {plat::kMsgKeyDown, plat::kVkReturn, 0},
                  Down(145, 200), Up(145, 200)}, 1, false},
        {"escape", {{plat::kMsgChar, 'Y', 0}, {plat::kMsgChar, kCharEnter, 0}, {plat::kMsgChar, kCharEscape, 0}, Down(140, 200)}, 0, true},
        {"closed", {Down(140, 200)}, 0, false},
    };
    gfx::Picture yes, no;
    for (const auto& c : cases) {
        plat::testing::Reset();
        gfx::Scene scene(1, 1, 240, 320);
        gfx::LoadPicture(yes, 533, 24, 40);
        gfx::LoadPicture(no, 534, 24, 86);
        InputState input;
        for (const plat::Message& m : c.messages) plat::testing::PushMessage(m);
        if (c.more) plat::testing::PushMessage(Down(1, 1));
        EXPECT_EQ(ConfirmPopup(scene, input, nullptr).Run(), c.answer) << c.what;
        plat::Message next{};
        EXPECT_TRUE(plat::GetMessage(next) == c.more && (!c.more || (input.penDown == 0 && next.id == static_cast<uint32_t>(plat::kMsgPenDown)))) << c.what;
        if (c.what == std::string("lifted outside")) {  // the pressed no stays drawn; the box is back under yes
            EXPECT_EQ(plat::testing::PresentedPanel()[(137 + 5) + 240 * (84 + 5)], no.surface->At(5, 5));
            EXPECT_NE(plat::testing::PresentedPanel()[(137 + 5) + 240 * (190 + 5)], yes.surface->At(5, 5));
        }
    }
}

}  // namespace
