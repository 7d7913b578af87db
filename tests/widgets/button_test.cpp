// Push buttons and toggle boxes: who takes which pen event, and what they report.
#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/widgets/pen.h"
#include "widgets/button.h"
#include "widgets/toggle_box.h"

namespace {

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        // The results screen's leave button: 26 x 44 at (200, 13), normal and pressed looks.
        button.InitButton(9, 200, 13, 26, 44, 392, 393);
    }

    uint8_t Offer(uint32_t type, int32_t x, int32_t y) {
        event = Pen(type, x, y);
        return button.HandleEvent(event);
    }

    Button button;
    InputEvent event{};
};

TEST_F(ButtonTest, PressShowsThePressedLookAndLiftInsideClicks) {
    ASSERT_EQ(button.frames->Count(), 2);
    EXPECT_EQ(button.sprite.image, button.frames->Frames()[0]);

    EXPECT_EQ(Offer(kEventPenDown, 210, 30), 1);
    EXPECT_EQ(event.type, kEventIdle);
    EXPECT_EQ(button.state, Button::kPressed);
    EXPECT_TRUE(button.tracking);
    EXPECT_EQ(button.sprite.image, button.frames->Frames()[1]);

    // Everything while held belongs to the button, even off it.
    EXPECT_EQ(Offer(kEventPenHeld, 0, 0), 1);
    EXPECT_EQ(Offer(kEventKeys, 0, 0), 1);

    EXPECT_EQ(Offer(kEventPenUp, 226, 57), 1);  // the far corner is still inside
    EXPECT_EQ(event.type, kEventControlClicked);
    EXPECT_EQ(event.payload[kSlotControlId], 9u);
    EXPECT_EQ(button.state, Button::kNormal);
    EXPECT_FALSE(button.tracking);
    EXPECT_EQ(button.sprite.image, button.frames->Frames()[0]);

    // Pressed no more: later events pass by.
    EXPECT_EQ(Offer(kEventPenHeld, 210, 30), 0);
}

TEST_F(ButtonTest, SlidingOffBeforeLiftingGivesNoClick) {
    Offer(kEventPenDown, 210, 30);
    EXPECT_EQ(Offer(kEventPenUp, 227, 30), 1);  // one pixel past the box, still taken
    EXPECT_EQ(event.type, kEventPenUp);
    EXPECT_EQ(button.state, Button::kNormal);
    EXPECT_EQ(button.sprite.image, button.frames->Frames()[0]);
}

TEST_F(ButtonTest, APressThatStartedElsewhereIsNotItsToAnswer) {
    EXPECT_EQ(Offer(kEventPenDown, 199, 30), 0);
    EXPECT_EQ(event.type, kEventPenDown);
    EXPECT_EQ(Offer(kEventPenHeld, 210, 30), 0);
    EXPECT_EQ(Offer(kEventPenUp, 210, 30), 0);
    EXPECT_EQ(event.type, kEventPenUp);
    EXPECT_EQ(Offer(kEventPenDown, 210, 58), 0);  // below the box
}

TEST_F(ButtonTest, ADisabledButtonTakesNothing) {
    button.SetState(Button::kDisabled);
    EXPECT_EQ(Offer(kEventPenDown, 210, 30), 0);
    EXPECT_FALSE(button.tracking);
    EXPECT_EQ(Offer(kEventPenUp, 210, 30), 0);
    EXPECT_EQ(event.type, kEventPenUp);
}

TEST(SharedButton, LeavesTheBorrowedPicturesToTheirOwner) {
    plat::testing::Reset();
    gfx::Picture normal;
    gfx::Picture pressed;
    gfx::CreateBlankPicture(normal, 20, 20);
    gfx::CreateBlankPicture(pressed, 20, 20);
    gfx::Picture* pictures[] = {&normal, &pressed};
    {
        Button key;
        key.InitButtonShared(5, 10, 10, 20, 20, pictures, 2);
        InputEvent event = Pen(kEventPenDown, 15, 15);
        EXPECT_EQ(key.HandleEvent(event), 1);
        EXPECT_EQ(key.sprite.image, &pressed);
    }
    EXPECT_NE(normal.surface, nullptr);
    EXPECT_NE(pressed.surface, nullptr);
}

class ToggleBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        looks.LoadFrames(375, 376, 26, 24);
    }
    FrameSet looks;
};

TEST_F(ToggleBoxTest, ATapFlipsTheStateAndReportsIt) {
    ToggleBox box;
    box.InitToggle(7, 144, 31, 26, 24, 375, 376, 1);
    ASSERT_NE(box.frames, nullptr);
    EXPECT_EQ(box.sprite.image, box.frames->Frames()[1]);

    InputEvent event = Pen(kEventPenDown, 170, 55);  // far corner, inside
    EXPECT_EQ(box.HandleEvent(event), 1);
    EXPECT_EQ(event.type, kEventControlToggled);
    EXPECT_EQ(event.payload[kSlotControlId], 7u);
    EXPECT_EQ(event.payload[kSlotControlValue], 0u);
    EXPECT_EQ(box.sprite.image, box.frames->Frames()[0]);

    event = Pen(kEventPenDown, 144, 31);
    EXPECT_EQ(box.HandleEvent(event), 1);
    EXPECT_EQ(event.payload[kSlotControlValue], 1u);
    EXPECT_EQ(box.state, 1);

    // Only a pen-down inside counts.
    for (const InputEvent& other : {Pen(kEventPenUp, 150, 40), Pen(kEventPenHeld, 150, 40),
                                    Pen(kEventPenDown, 171, 40), Pen(kEventPenDown, 150, 30)}) {
        event = other;
        EXPECT_EQ(box.HandleEvent(event), 0);
        EXPECT_EQ(event.type, other.type);
    }
    EXPECT_EQ(box.state, 1);
}

TEST_F(ToggleBoxTest, AnyOtherStateIgnoresTaps) {
    ToggleBox box;
    box.InitToggle(8, 144, 154, 26, 24, 0, 0, 2, &looks);
    InputEvent event = Pen(kEventPenDown, 150, 160);
    EXPECT_EQ(box.HandleEvent(event), 0);
    EXPECT_EQ(box.state, 2);
}

TEST_F(ToggleBoxTest, BorrowedFramesStayWithTheirOwner) {
    {
        ToggleBox box;
        box.InitToggle(8, 144, 154, 26, 24, 0, 0, 0, &looks);
        EXPECT_EQ(box.frames, nullptr);
        EXPECT_EQ(box.sprite.image, looks.Frames()[0]);
    }
    ASSERT_EQ(looks.Count(), 2);
    EXPECT_NE(looks.Frames()[0]->surface, nullptr);
}

}  // namespace
