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
        title.Enter();
    }
    void TearDown() override {
        title.Leave();
        ScreenTest::TearDown();
    }
    // An idle event at `tick`; true when it presented something.
    bool IdleAt(uint32_t tick) {
        const uint32_t presents = plat::testing::PresentCount();
        plat::testing::SetTick(tick);
        EXPECT_EQ(Send(&title, kEventIdle), kConsumed);
        return plat::testing::PresentCount() != presents;
    }
    static bool Prompt() { return Shows(584, 36, 86, 200, 10); }

    TitleView title;
};

TEST_F(TitleTest, ThePromptBlinksInStepsOfMoreThan230Ms) {
    ASSERT_TRUE(IdleAt(10000));  // the first event draws at once, without the prompt
    EXPECT_TRUE(Shows(583, 240, 320, 0, 0, 3));
    EXPECT_FALSE(IdleAt(10230));
    ASSERT_TRUE(IdleAt(10231));
    EXPECT_TRUE(Prompt());
    IdleAt(10462);
    EXPECT_FALSE(Prompt());
    IdleAt(10693);
    EXPECT_TRUE(Prompt());
}

TEST_F(TitleTest, OnlyATapOpensTheMenuAndItDoesNotWaitForABlink) {
    const uint8_t depth = Views().Depth();
    EXPECT_EQ(Key(&title, kKeyReturn), kConsumed);
    Send(&title, kEventPenHeld, 100, 100);
    EXPECT_NE(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Send(&title, kEventPenDown, 10, 300), kConsumed);
    EXPECT_EQ(Views().Next(), kViewMainMenu);
    EXPECT_EQ(Views().Depth(), depth);  // no way back to the title
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

}  // namespace
