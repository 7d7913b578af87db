#include "app/game_app.h"

#include <cstring>

#include "tests/screens/screen_fixture.h"

namespace {

using GameAppTest = ScreenTest;

TEST_F(GameAppTest, StartsOnTheIntroductionOverABlackScreenThatTheFirstEventDrawsOn) {
    EXPECT_EQ(Views().Current(), kViewIntroduction);
    EXPECT_EQ(Pixel(120, 160), 0);
    plat::testing::PushMessage({plat::kMsgPenMove, 0, 10 | (10u << 16)});
    plat::testing::EndQueue();
    theApp.Run();
    int lit = 0;
    for (int i = 0; i < 240 * 320; ++i) lit += plat::testing::PresentedPanel()[i] != 0 ? 1 : 0;
    EXPECT_GT(lit, 1000);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

TEST_F(GameAppTest, ASecondCopyEndsWithoutCreatingAnythingAndTheSettingsAreSavedAtShutdown) {
    GameApp second;
    EXPECT_FALSE(second.Initialise());
    EXPECT_EQ(second.Views(), nullptr);
    EXPECT_STREQ(Prefs().UserName, "NONAME");
    std::strcpy(Prefs().UserName, "ROBIN");
    theApp.Shutdown();
    EXPECT_EQ(theApp.GetSettings(), nullptr);
    plat::testing::CloseStore();  // as if the program had ended
    plat::testing::Reset();
    ASSERT_TRUE(theApp.Initialise());
    EXPECT_STREQ(Prefs().UserName, "ROBIN");
}

}  // namespace
