// The yes-or-no popup: the lift decides, keys do nothing, and a closed window
// still gets an answer.
#include <gtest/gtest.h>

#include <vector>

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

// Keys do nothing and do not block the stylus; Escape answers no and leaves
// what follows for whoever reads next; a closed window answers no.
TEST_F(ConfirmPopupTest, KeysCharactersAndAClosedWindow) {
    const struct {
        const char* what;
        std::vector<plat::Message> messages;
        int answer;
        bool more;
    } cases[] = {
        // Up and return stay held while the player answers.
        {"keys",
         {{plat::kMsgKeyDown, plat::kVkUp, 0}, {plat::kMsgHotKey, 0xC3, 0}, {plat::kMsgKeyUp, 0xC3, 0},
          {plat::kMsgKeyDown, plat::kVkReturn, 0}, PenMessage(plat::kMsgPenDown, 145, 200),
          PenMessage(plat::kMsgPenUp, 145, 200)},
         1, false},
        {"escape",
         {{plat::kMsgChar, 'Y', 0}, {plat::kMsgChar, kCharEnter, 0}, {plat::kMsgChar, kCharEscape, 0},
          PenMessage(plat::kMsgPenDown, 140, 200)},
         0, true},
        {"closed", {PenMessage(plat::kMsgPenDown, 140, 200)}, 0, false},
    };
    for (const auto& c : cases) {
        plat::testing::Reset();
        input = InputState{};
        for (const plat::Message& m : c.messages) plat::testing::PushMessage(m);
        EXPECT_EQ(Run(), c.answer) << c.what;
        plat::Message next{};
        EXPECT_EQ(plat::GetMessage(next), c.more) << c.what;
        if (c.more) {
            EXPECT_EQ(next.id, static_cast<uint32_t>(plat::kMsgPenDown));
        }
    }
}

}  // namespace
