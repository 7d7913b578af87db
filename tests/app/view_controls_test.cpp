// A view's controls: which are shown, how they leave, and who gets an event.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "graphics/scene.h"
#include "platform/testing.h"
#include "tests/app/recording_view.h"
#include "widgets/control.h"

namespace {

// Takes pen-down events inside its box and turns them into a click with its id;
// marks every other event it sees without taking it.
class BoxControl : public Control {
public:
    BoxControl(gfx::Picture* picture, uint16_t controlId, int32_t x) : id(controlId) {
        gfx::Picture* pictures[] = {picture};
        looks.UseFrames(pictures, 1);
        sprite.InitAnimation(looks, x, 0, false, false, false, 0, kAnimationLoop, 0);
    }
    uint8_t HandleEvent(InputEvent& event) override {
        ++seen;
        if (event.type == kEventPenDown && HitTest(event.x, event.y)) {
            event.type = kEventControlClicked;
            event.payload[kSlotControlId] = id;
            return 1;
        }
        event.payload[0] += 1;
        return 0;
    }
    bool HitTest(int32_t px, int32_t py) const override {
        return px >= sprite.x && px <= sprite.x + 20 && py >= sprite.y && py <= sprite.y + 20;
    }

    FrameSet looks;
    uint16_t id;
    int seen = 0;
};

class ViewControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        scene = std::make_unique<gfx::Scene>(gfx::kGroundColumns, gfx::kGroundRows, 240, 320);
        view.SetScene(scene.get());
        gfx::CreateBlankPicture(picture, 20, 20);
        for (int i = 0; i < 3; ++i) {
            controls[i] = std::make_unique<BoxControl>(&picture, static_cast<uint16_t>(100 + i), 50 * i);
            view.AddControl(controls[i].get());
        }
    }
    void TearDown() override { scene->ClearSprites(); }

    std::string Seen() const {
        return std::to_string(controls[0]->seen) + " " + std::to_string(controls[1]->seen) + " " + std::to_string(controls[2]->seen);
    }
    static InputEvent PenDown(int16_t x, int16_t y) {
        InputEvent event{};
        event.type = kEventPenDown;
        event.x = x;
        event.y = y;
        return event;
    }

    std::vector<std::string> log;
    RecordingView view{log, "v"};
    std::unique_ptr<gfx::Scene> scene;
    gfx::Picture picture;
    std::unique_ptr<BoxControl> controls[3];
};

TEST_F(ViewControlsTest, TheFirstControlToTakeAnEventWinsAndIsPresented) {
    InputEvent event = PenDown(55, 5);  // inside the second control only
    const uint32_t presents = plat::testing::PresentCount();
    EXPECT_EQ(view.RouteToControls(event), 1);
    EXPECT_EQ(event.type, kEventControlClicked);
    EXPECT_EQ(event.payload[kSlotControlId], 101u);
    // The controls share one private copy: the winner's copy carries the first one's mark.
    EXPECT_EQ(event.payload[0], 1u);
    EXPECT_EQ(Seen(), "1 1 0");
    EXPECT_EQ(plat::testing::PresentCount(), presents + 1);

    // An event no control takes is left as it was, unpresented.
    InputEvent missed = PenDown(200, 200);
    EXPECT_EQ(view.RouteToControls(missed), 0);
    EXPECT_EQ(missed.type, kEventPenDown);
    EXPECT_EQ(missed.payload[0], 0u);  // the marks stayed in the private copy
    EXPECT_EQ(plat::testing::PresentCount(), presents + 1);
    EXPECT_EQ(Seen(), "2 2 1");
}

TEST_F(ViewControlsTest, OnlyVisibleControlsAreShownRemovingFillsTheSlotWithTheLastAndClearingEmptiesTheScene) {
    view.SetControlVisible(1, false);
    for (auto& control : controls) view.ShowControl(*control, 4);
    EXPECT_EQ(scene->Sprites().Count(), 2u);
    EXPECT_TRUE(controls[0]->sprite.dirty);
    EXPECT_FALSE(controls[1]->sprite.dirty);
    view.SetControlVisible(1, true);
    view.ShowControl(*controls[1], 4);
    view.RemoveControl(0);
    EXPECT_EQ(view.ControlCount(), 2);
    EXPECT_EQ(view.ControlAt(0), controls[2].get());
    EXPECT_EQ(view.ControlAt(1), controls[1].get());
    EXPECT_EQ(scene->Sprites().Count(), 2u);
    view.RemoveControl(5);  // no such slot
    EXPECT_EQ(view.ControlCount(), 2);
    view.ClearControls();
    EXPECT_EQ(view.ControlCount(), 0);
    EXPECT_EQ(scene->Sprites().Count(), 0u);
    InputEvent event = PenDown(5, 5);
    EXPECT_EQ(view.RouteToControls(event), 0);
}

}  // namespace
