// Mouse and keys of the desktop window, as panel input.
#include <gtest/gtest.h>

#include <string>

#include "platform/desktop/gamepad.h"
#include "platform/desktop/key_map.h"
#include "platform/desktop/letterbox.h"
#include "platform/platform.h"

namespace {

TEST(Letterbox, WholeScalesCentredInAnyWindow) {
    const plat::Viewport exact = plat::FitView(960, 720);
    EXPECT_EQ(exact.scale, 3);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
    const plat::Viewport wide = plat::FitView(1000, 730);
    EXPECT_EQ(wide.scale, 3);
    EXPECT_EQ(wide.x, 20);
    EXPECT_EQ(wide.y, 5);
    const plat::Viewport tall = plat::FitView(700, 2000);
    EXPECT_EQ(tall.scale, 2);
    EXPECT_EQ(tall.y, (2000 - 480) / 2);
    EXPECT_EQ(plat::FitView(100, 100).scale, 1);
}

TEST(Letterbox, PressesOutsideAreIgnoredAndDragsClampToTheEdge) {
    const plat::Viewport v{20, 5, 3};
    plat::Point p{};
    // The view's top-left pixel is the panel's bottom-left.
    ASSERT_TRUE(plat::OutputToPanel(v, 20, 5, false, p));
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 319);
    ASSERT_TRUE(plat::OutputToPanel(v, 20 + 959, 5 + 719, false, p));
    EXPECT_EQ(p.x, 239);
    EXPECT_EQ(p.y, 0);
    // One output pixel into the bars on either side.
    EXPECT_FALSE(plat::OutputToPanel(v, 19, 100, false, p));
    EXPECT_FALSE(plat::OutputToPanel(v, 980, 100, false, p));
    EXPECT_FALSE(plat::OutputToPanel(v, 100, 4, false, p));
    EXPECT_FALSE(plat::OutputToPanel(v, 100, 725, false, p));
    ASSERT_TRUE(plat::OutputToPanel(v, -500, 2000, true, p));
    EXPECT_EQ(p.x, 239);  // bottom-left of the view
    EXPECT_EQ(p.y, 319);
}

TEST(KeyMap, ArrowsFollowThePlayersLandscape) {
    EXPECT_EQ(plat::MapKey(SDLK_LEFT).code, plat::kVkDown);
    EXPECT_EQ(plat::MapKey(SDLK_RIGHT).code, plat::kVkUp);
    EXPECT_EQ(plat::MapKey(SDLK_UP).code, plat::kVkLeft);
    EXPECT_EQ(plat::MapKey(SDLK_DOWN).code, plat::kVkRight);
    EXPECT_EQ(plat::MapKey(SDLK_RETURN).kind, plat::MappedKey::kKey);
    for (int i = 0; i < 4; ++i) {
        const plat::MappedKey k = plat::MapKey(SDLK_1 + i);
        EXPECT_EQ(k.kind, plat::MappedKey::kButton);
        EXPECT_EQ(k.code, 0xC1u + static_cast<uint32_t>(i));
    }
    EXPECT_EQ(plat::MapKey(SDLK_SPACE).code, 0xC3u);
    EXPECT_EQ(plat::MapKey(SDLK_a).kind, plat::MappedKey::kNone);
}

TEST(KeyMap, TypedCharactersFollowShiftCapsLockAndNumLock) {
    EXPECT_EQ(plat::TypedChar(SDLK_q, KMOD_NONE), uint32_t{'q'});
    EXPECT_EQ(plat::TypedChar(SDLK_q, KMOD_LSHIFT), uint32_t{'Q'});
    EXPECT_EQ(plat::TypedChar(SDLK_z, KMOD_CAPS), uint32_t{'Z'});
    EXPECT_EQ(plat::TypedChar(SDLK_a, KMOD_CAPS | KMOD_RSHIFT), uint32_t{'a'});
    EXPECT_EQ(plat::TypedChar(SDLK_0, KMOD_NONE), uint32_t{'0'});
    EXPECT_EQ(plat::TypedChar(SDLK_9, KMOD_NONE), uint32_t{'9'});
    EXPECT_EQ(plat::TypedChar(SDLK_KP_7, KMOD_NUM), uint32_t{'7'});
    EXPECT_EQ(plat::TypedChar(SDLK_KP_0, KMOD_NUM), uint32_t{'0'});
    EXPECT_EQ(plat::TypedChar(SDLK_KP_7, KMOD_NONE), 0u);  // Home, not a digit
    EXPECT_EQ(plat::TypedChar(SDLK_BACKSPACE, KMOD_NONE), 0x08u);
    EXPECT_EQ(plat::TypedChar(SDLK_RETURN, KMOD_NONE), 0x0Du);
    EXPECT_EQ(plat::TypedChar(SDLK_KP_ENTER, KMOD_NONE), 0x0Du);
    EXPECT_EQ(plat::TypedChar(SDLK_ESCAPE, KMOD_NONE), 0x1Bu);
    EXPECT_EQ(plat::TypedChar(SDLK_SPACE, KMOD_NONE), 0u);
    EXPECT_EQ(plat::TypedChar(SDLK_LEFT, KMOD_NONE), 0u);
    EXPECT_EQ(plat::TypedChar(SDLK_F1, KMOD_NONE), 0u);
}

// What a pad sends, written down in order.
class Sent final : public plat::PanelInput {
public:
    void PenDown(plat::Point p) override { Add("down", p); }
    void PenMove(plat::Point p) override { Add("move", p); }
    void PenUp(plat::Point p) override { Add("up", p); }
    void PressKey(const plat::MappedKey& key) override { log += "press " + std::to_string(key.code) + ";"; }
    void ReleaseKey(uint32_t code) override { log += "release " + std::to_string(code) + ";"; }
    void Type(uint32_t c) override { log += "type " + std::to_string(c) + ";"; }
    std::string log;

private:
    void Add(const char* what, plat::Point panel) {
        const plat::Point view = plat::PanelToView(panel);
        log += std::string(what) + " " + std::to_string(view.x) + "," + std::to_string(view.y) + ";";
    }
};

SDL_Event PadButton(SDL_GameControllerButton button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.button = static_cast<Uint8>(button);
    return e;
}

TEST(Gamepad, ButtonsAreTheStylusAndKeysAndARemovedPadLetsGo) {
    Sent sent;
    plat::Gamepad pad(sent);
    const struct {
        SDL_GameControllerButton button;
        bool down;
        const char* sent;
    } steps[] = {
        {SDL_CONTROLLER_BUTTON_A, true, "down 160,120;"},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, true, "move 159,120;"},  // a nudge drags one pixel
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, false, ""},
        {SDL_CONTROLLER_BUTTON_A, false, "up 159,120;"},
        // West and east both reload: one press, let go when the last one is.
        {SDL_CONTROLLER_BUTTON_X, true, "press 195;"},
        {SDL_CONTROLLER_BUTTON_B, true, ""},
        {SDL_CONTROLLER_BUTTON_X, false, ""},
        {SDL_CONTROLLER_BUTTON_B, false, "release 195;"},
        // The shoulders are the player's left and right arrows (the panel's down and up).
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, true, "press 40;"},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, false, "release 40;"},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true, "press 38;"},
        {SDL_CONTROLLER_BUTTON_START, true, "type 27;"},
        {SDL_CONTROLLER_BUTTON_BACK, true, "type 27;"},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, true, ""},
        {SDL_CONTROLLER_BUTTON_A, true, "down 159,119;"},
        {SDL_CONTROLLER_BUTTON_X, true, "press 195;"},
    };
    uint64_t now = 1000;
    for (const auto& step : steps) {
        sent.log.clear();
        pad.Event(PadButton(step.button, step.down), now += 10);
        EXPECT_EQ(sent.log, step.sent) << step.button << (step.down ? " down" : " up");
    }
    EXPECT_TRUE(pad.Active(now));
    EXPECT_FALSE(pad.Active(now + 5000));
    // Pulled out with the stylus, the reload and an arrow held: all come up.
    sent.log.clear();
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 99;
    pad.Event(removed, now);
    EXPECT_EQ(sent.log, "up 159,119;release 195;release 38;");
}

TEST(Gamepad, TheStickIsFineWhenNudgedAndFasterWhileHeld) {
    EXPECT_EQ(plat::AxisPush(0), 0);
    EXPECT_EQ(plat::AxisPush(7000), 0);  // inside the dead zone
    EXPECT_EQ(plat::AxisPush(32767), 1);
    EXPECT_EQ(plat::AxisPush(-32768), -1);
    // Past the dead zone the push starts small, not with a jump.
    EXPECT_GT(plat::AxisPush(9000), 0);
    EXPECT_LT(plat::AxisPush(9000), 0.1);
    EXPECT_LT(plat::PointerSpeed(0.2, 0), 5);  // px/s: a pixel at a time
    EXPECT_GT(plat::PointerSpeed(1, 800), 4 * plat::PointerSpeed(1, 0));
    EXPECT_EQ(plat::PointerSpeed(1, 800), plat::PointerSpeed(1, 60000));
    // Across the view in about a second and a half at full push.
    EXPECT_GT(plat::PointerSpeed(1, 800), 200);
}

}  // namespace
