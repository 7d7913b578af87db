// Mouse and keys of the desktop window, as panel input.
#include <gtest/gtest.h>

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

}  // namespace
