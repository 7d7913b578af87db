// The title: its blinking prompt and the tap that opens the menu.
#include "screens/title_view.h"

#include "tests/screens/screen_fixture.h"

namespace {

class TitleTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Stand(kViewMainMenu);
        Install(title, kViewTitle);
        gfx::LoadPicture(prompt, 584, 36, 86);
        gfx::LoadPicture(picture, 583, 240, 320);
        title.Enter();
    }
    void TearDown() override {
        title.Leave();
        ScreenTest::TearDown();
    }
    // Whether the panel shows the prompt picture at its place.
    bool PromptOnPanel() const {
        for (int32_t y = 0; y < 86; ++y) {
            for (int32_t x = 0; x < 36; ++x) {
                if (Pixel(200 + x, 10 + y) != prompt.surface->At(x, y)) return false;
            }
        }
        return true;
    }
    int Step(uint32_t atTick) {
        plat::testing::SetTick(atTick);
        InputEvent idle = Event(kEventIdle);
        return title.HandleEvent(idle);
    }

    TitleView title;
    gfx::Picture prompt;
    gfx::Picture picture;
};

TEST_F(TitleTest, ThePromptBlinksInStepsOfMoreThan230Ms) {
    // The first event draws at once, without the prompt.
    const uint32_t presents = plat::testing::PresentCount();
    EXPECT_EQ(Step(10000), kConsumed);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 1);
    EXPECT_EQ(Pixel(5, 200), picture.surface->At(5, 200));
    EXPECT_FALSE(PromptOnPanel());
    // Exactly 230 ms later nothing is drawn yet.
    Step(10230);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 1);
    Step(10231);
    EXPECT_EQ(plat::testing::PresentCount(), presents + 2);
    EXPECT_TRUE(PromptOnPanel());
    Step(10462);
    EXPECT_FALSE(PromptOnPanel());
    Step(10693);
    EXPECT_TRUE(PromptOnPanel());
}

TEST_F(TitleTest, OnlyATapOpensTheMenuAndItDoesNotWaitForABlink) {
    const uint8_t depth = Views().Depth();
    InputEvent keys = Key(kKeyReturn);
    EXPECT_EQ(title.HandleEvent(keys), kConsumed);
    InputEvent held = Event(kEventPenHeld, 100, 100);
    title.HandleEvent(held);
    EXPECT_NE(Views().Next(), kViewMainMenu);

    InputEvent tap = Event(kEventPenDown, 10, 300);
    EXPECT_EQ(title.HandleEvent(tap), kConsumed);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Views().Depth(), depth);  // no way back to the title
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

}  // namespace
