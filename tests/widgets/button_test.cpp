// Push buttons and toggle boxes: who takes which pen event, and what they report.
#include <gtest/gtest.h>

#include <vector>

#include "platform/testing.h"
#include "tests/widgets/pen.h"
#include "widgets/button.h"
#include "widgets/toggle_box.h"

namespace {

struct Step {
    uint32_t type;
    int32_t x, y;
    uint8_t taken;
    uint32_t becomes;  // the event's type afterwards
    bool pressed;      // the button's look and state afterwards
};

// The results screen's leave button: 26 x 44 at (200, 13).
TEST(Button, TakesWhatItsPressStartedAndClicksOnALiftInside) {
    const struct {
        const char* what;
        bool disabled;
        std::vector<Step> steps;
    } cases[] = {
        {"a click",
         false,
         {{kEventPenDown, 210, 30, 1, kEventIdle, true},
          // Everything while held belongs to the button, even off it.
          {kEventPenHeld, 0, 0, 1, kEventPenHeld, true},
          {kEventKeys, 0, 0, 1, kEventKeys, true},
          {kEventPenUp, 226, 57, 1, kEventControlClicked, false},  // the far corner is still inside
          {kEventPenHeld, 210, 30, 0, kEventPenHeld, false}}},
        {"slid off before the lift", false,
         {{kEventPenDown, 210, 30, 1, kEventIdle, true}, {kEventPenUp, 227, 30, 1, kEventPenUp, false}}},
        {"pressed elsewhere",
         false,
         {{kEventPenDown, 199, 30, 0, kEventPenDown, false},
          {kEventPenHeld, 210, 30, 0, kEventPenHeld, false},
          {kEventPenUp, 210, 30, 0, kEventPenUp, false},
          {kEventPenDown, 210, 58, 0, kEventPenDown, false}}},
        {"disabled", true,
         {{kEventPenDown, 210, 30, 0, kEventPenDown, false}, {kEventPenUp, 210, 30, 0, kEventPenUp, false}}},
    };
    for (const auto& c : cases) {
        plat::testing::Reset();
        Button button;
        button.InitButton(9, 200, 13, 26, 44, 392, 393);
        ASSERT_EQ(button.frames->Count(), 2);
        if (c.disabled) button.SetState(Button::kDisabled);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            InputEvent event = Pen(s.type, s.x, s.y);
            EXPECT_EQ(button.HandleEvent(event), s.taken) << c.what << " " << i;
            EXPECT_EQ(event.type, s.becomes) << c.what << " " << i;
            EXPECT_EQ(button.tracking, s.pressed) << c.what << " " << i;
            EXPECT_EQ(button.sprite.image, button.frames->Frames()[s.pressed ? 1 : 0]) << c.what << " " << i;
            if (!c.disabled) {
                EXPECT_EQ(button.state, s.pressed ? Button::kPressed : Button::kNormal);
            }
            if (s.becomes == kEventControlClicked) {
                EXPECT_EQ(event.payload[kSlotControlId], 9u);
            }
        }
    }
}

// Shared pictures and frames stay with their owner when the control goes.
TEST(Button, BorrowedPicturesAndFramesStayWithTheirOwner) {
    plat::testing::Reset();
    gfx::Picture normal;
    gfx::Picture pressed;
    gfx::CreateBlankPicture(normal, 20, 20);
    gfx::CreateBlankPicture(pressed, 20, 20);
    gfx::Picture* pictures[] = {&normal, &pressed};
    FrameSet looks;
    looks.LoadFrames(375, 376, 26, 24);
    {
        Button key;
        key.InitButtonShared(5, 10, 10, 20, 20, pictures, 2);
        InputEvent event = Pen(kEventPenDown, 15, 15);
        EXPECT_EQ(key.HandleEvent(event), 1);
        EXPECT_EQ(key.sprite.image, &pressed);
        ToggleBox box;
        box.InitToggle(8, 144, 154, 26, 24, 0, 0, 0, &looks);
        EXPECT_EQ(box.frames, nullptr);
        EXPECT_EQ(box.sprite.image, looks.Frames()[0]);
    }
    EXPECT_NE(normal.surface, nullptr);
    EXPECT_NE(pressed.surface, nullptr);
    ASSERT_EQ(looks.Count(), 2);
    EXPECT_NE(looks.Frames()[0]->surface, nullptr);
}

TEST(ToggleBox, APenDownInsideFlipsTheStateAndReportsIt) {
    plat::testing::Reset();
    ToggleBox box;
    box.InitToggle(7, 144, 31, 26, 24, 375, 376, 1);
    ASSERT_NE(box.frames, nullptr);
    EXPECT_EQ(box.sprite.image, box.frames->Frames()[1]);
    for (const auto& [x, y, state] : {std::tuple{170, 55, 0}, {144, 31, 1}}) {  // both corners inside
        InputEvent event = Pen(kEventPenDown, x, y);
        EXPECT_EQ(box.HandleEvent(event), 1);
        EXPECT_EQ(event.type, kEventControlToggled);
        EXPECT_EQ(event.payload[kSlotControlId], 7u);
        EXPECT_EQ(event.payload[kSlotControlValue], static_cast<uint32_t>(state));
        EXPECT_EQ(box.sprite.image, box.frames->Frames()[state]);
    }
    for (const InputEvent& other : {Pen(kEventPenUp, 150, 40), Pen(kEventPenHeld, 150, 40),
                                    Pen(kEventPenDown, 171, 40), Pen(kEventPenDown, 150, 30)}) {
        InputEvent event = other;
        EXPECT_EQ(box.HandleEvent(event), 0);
        EXPECT_EQ(event.type, other.type);
    }
    EXPECT_EQ(box.state, 1);
    // Any state but 0 and 1 ignores taps.
    box.state = 2;
    InputEvent event = Pen(kEventPenDown, 150, 40);
    EXPECT_EQ(box.HandleEvent(event), 0);
    EXPECT_EQ(box.state, 2);
}

}  // namespace
