// The yes-or-no popup: the lift decides, keys do nothing, and a closed window
// still gets an answer.
#include <gtest/gtest.h>

#include "app/input_translator.h"
#include "graphics/scene.h"
#include "platform/testing.h"
#include "widgets/confirm_popup.h"

namespace {

plat::Message PenMessage(uint32_t id, int32_t x, int32_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16)};
}

class ConfirmPopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        // No heartbeat: once the pushed messages are read the queue ends, so a
        // popup that missed its answer returns no instead of waiting forever.
        scene = std::make_unique<gfx::Scene>(1, 1, 240, 320);
        gfx::LoadPicture(yes, 533, 24, 40);
        gfx::LoadPicture(no, 534, 24, 86);
    }

    void Push(uint32_t id, int32_t x, int32_t y) { plat::testing::PushMessage(PenMessage(id, x, y)); }
    void Push(uint32_t id, uint32_t key) { plat::testing::PushMessage({id, key, 0}); }

    uint16_t Panel(int32_t x, int32_t y) const { return plat::testing::PresentedPanel()[y * 240 + x]; }
    static uint16_t Pixel(const gfx::Picture& picture, int32_t x, int32_t y) {
        return picture.surface->Row(y)[x];
    }

    int Run() {
        ConfirmPopup popup(*scene, input, nullptr);
        return popup.Run();
    }

    std::unique_ptr<gfx::Scene> scene;
    InputState input;
    gfx::Picture yes;
    gfx::Picture no;
};

TEST_F(ConfirmPopupTest, TheLiftDecides) {
    Push(plat::kMsgPenDown, 140, 200);  // on yes
    Push(plat::kMsgPenMove, 150, 100);
    Push(plat::kMsgPenUp, 150, 100);  // lifted on no
    Push(plat::kMsgPenDown, 161, 230);  // the corners are inside
    Push(plat::kMsgPenUp, 137, 190);
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(input.penDown, 0);
    EXPECT_EQ(Run(), 1);
}

TEST_F(ConfirmPopupTest, LiftingOutsideKeepsItOpenWithThePressedLook) {
    Push(plat::kMsgPenDown, 150, 100);  // on no
    Push(plat::kMsgPenUp, 100, 100);    // off both answers
    Push(plat::kMsgPenDown, 20, 20);
    Push(plat::kMsgPenUp, 20, 20);
    for (int i = 0; i < 5; ++i) plat::testing::PushMessage({plat::kMsgTimer, 15000, 0});
    // Still open: the pressed no is on the panel.
    Push(plat::kMsgPenDown, 145, 200);
    Push(plat::kMsgPenUp, 145, 200);
    EXPECT_EQ(Run(), 1);
    // The pressed no was drawn at its place and stays; the box is back under yes.
    EXPECT_EQ(Panel(137 + 5, 84 + 5), Pixel(no, 5, 5));
    EXPECT_NE(Panel(137 + 5, 190 + 5), Pixel(yes, 5, 5));
}

TEST_F(ConfirmPopupTest, KeysDoNothingAndDoNotBlockTheStylus) {
    Push(plat::kMsgKeyDown, plat::kVkUp);
    Push(plat::kMsgHotKey, 0xC3);
    Push(plat::kMsgKeyUp, 0xC3);
    Push(plat::kMsgKeyDown, plat::kVkReturn);
    // Up and return stay held while the player answers.
    Push(plat::kMsgPenDown, 145, 200);
    Push(plat::kMsgPenUp, 145, 200);
    EXPECT_EQ(Run(), 1);
}

TEST_F(ConfirmPopupTest, EscapeAnswersNoAndOtherCharactersNothing) {
    Push(plat::kMsgChar, static_cast<uint32_t>('Y'));
    Push(plat::kMsgChar, kCharEnter);
    Push(plat::kMsgChar, kCharEscape);
    Push(plat::kMsgPenDown, 140, 200);
    EXPECT_EQ(Run(), 0);
    // It answered at the escape: the tap is left for whoever reads next.
    plat::Message next{};
    ASSERT_TRUE(plat::GetMessage(next));
    EXPECT_EQ(next.id, static_cast<uint32_t>(plat::kMsgPenDown));
}

TEST_F(ConfirmPopupTest, AClosedWindowAnswersNoAndTheQueueStaysEnded) {
    Push(plat::kMsgPenDown, 140, 200);
    EXPECT_EQ(Run(), 0);
    plat::Message next{};
    EXPECT_FALSE(plat::GetMessage(next));
}

}  // namespace
