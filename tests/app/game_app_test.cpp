#include "app/game_app.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "app/view_list.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"

namespace {

// The settings go to a store of the test's own, never the player's.
void UseFreshStore() {
    plat::testing::CloseStore();
    const auto dir = std::filesystem::path(::testing::TempDir()) / ("reedshot_app_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    setenv("REEDSHOT_DATA_DIR", dir.c_str(), 1);
}

plat::Message Pen(uint32_t id, int16_t x, int16_t y) {
    return {id, 0, static_cast<uint32_t>(static_cast<uint16_t>(x)) | (static_cast<uint32_t>(y) << 16)};
}

class GameAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseFreshStore();
        plat::testing::Reset();
        ASSERT_TRUE(app.Initialise());
    }
    void TearDown() override {
        app.Shutdown();
        plat::testing::CloseStore();
    }

    GameApp app;
};

TEST_F(GameAppTest, StartsOnTheIntroductionOverABlackScreenThatTheFirstEventDrawsOn) {
    EXPECT_EQ(app.Views()->Current(), kViewIntroduction);
    EXPECT_EQ(gfx::g_scene->GetScrollY(), 0);
    const uint16_t* panel = plat::testing::PresentedPanel();
    EXPECT_EQ(panel[160 * 240 + 120], 0);
    plat::testing::PushMessage(Pen(plat::kMsgPenMove, 10, 10));
    plat::testing::EndQueue();
    app.Run();
    int lit = 0;
    for (int i = 0; i < 240 * 320; ++i) lit += panel[i] != 0 ? 1 : 0;
    EXPECT_GT(lit, 1000);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

TEST_F(GameAppTest, SettingsLoadAtStartAndAreSavedAtShutdown) {
    ASSERT_NE(app.GetSettings(), nullptr);
    EXPECT_STREQ(app.GetSettings()->UserName, "NONAME");
    std::strcpy(app.GetSettings()->UserName, "ROBIN");
    app.Shutdown();
    EXPECT_EQ(app.GetSettings(), nullptr);
    plat::testing::CloseStore();  // as if the program had ended
    plat::testing::Reset();
    ASSERT_TRUE(app.Initialise());
    EXPECT_STREQ(app.GetSettings()->UserName, "ROBIN");
}

TEST(GameAppStart, SecondCopyEndsWithoutCreatingAnything) {
    UseFreshStore();
    plat::testing::Reset();
    GameApp first;
    ASSERT_TRUE(first.Initialise());
    GameApp second;
    EXPECT_FALSE(second.Initialise());
    EXPECT_EQ(second.Views(), nullptr);
    first.Shutdown();
    plat::testing::CloseStore();
}

}  // namespace
