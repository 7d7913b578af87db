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
#include "screens/preview_view.h"

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
    const PreviewView& Preview() const {
        return *static_cast<const PreviewView*>(app.Views()->ViewAt(kViewIntroduction));
    }

    GameApp app;
};

TEST_F(GameAppTest, StartsOnTheFirstViewAtTheBottomOfTheGround) {
    EXPECT_EQ(app.Views()->Current(), kViewIntroduction);
    ASSERT_NE(gfx::g_scene, nullptr);
    EXPECT_EQ(gfx::g_scene->GetScrollY(), PreviewView::kMaxScrollY);
    EXPECT_GT(plat::testing::PresentCount(), 0u);
    EXPECT_TRUE(plat::testing::MessageBoxes().empty());
}

TEST_F(GameAppTest, DuckFollowsTheStylusInWorldCoordinates) {
    plat::testing::PushMessage(Pen(plat::kMsgPenDown, 100, 200));
    plat::testing::PushMessage(Pen(plat::kMsgPenMove, 120, 50));
    plat::testing::EndQueue();
    app.Run();
    EXPECT_EQ(Preview().Duck().x, 120 - 34);
    EXPECT_EQ(Preview().Duck().y, 50 - 34 + PreviewView::kMaxScrollY);
}

TEST_F(GameAppTest, UpAndDownKeysScrollWithinTheStrip) {
    // Held up for 70 events: 639 pixels need 64 steps, then it stays at 0.
    plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkUp, 0});
    for (int i = 0; i < 69; ++i) plat::testing::PushMessage({plat::kMsgPaint, 0, 0});
    plat::testing::PushMessage({plat::kMsgKeyUp, plat::kVkUp, 0});
    plat::testing::PushMessage({plat::kMsgKeyDown, plat::kVkDown, 0});
    plat::testing::PushMessage({plat::kMsgKeyUp, plat::kVkDown, 0});
    plat::testing::EndQueue();
    app.Run();
    EXPECT_EQ(gfx::g_scene->GetScrollY(), 10);
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
