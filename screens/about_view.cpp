#include "screens/about_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kAboutPicture = 509;
constexpr uint16_t kWidth = 150;
constexpr uint16_t kHeight = 200;
constexpr uint16_t kPageSound = 578;

}  // namespace

// What was animating below keeps its animation list: it goes on when the
// popup closes.
void AboutView::Enter() {
    gfx::Scene& scene = *GetScene();
    if (theApp.GetSettings()->MenuAnimation) {
        scene.DrawAllSprites();
        scene.GetDisplayList().GrayDisplay();
        scene.GetDisplayList().PresentWhole();
    }
    gfx::Picture picture;
    gfx::LoadSharedPicture(picture, kAboutPicture, kWidth, kHeight);
    gfx::Sprite sprite;
    gfx::SetSpritePicture(sprite, &picture, gfx::kScreenWidth / 2 - kWidth / 2, gfx::kScreenHeight / 2 - kHeight / 2,
                          false, false, false, gfx::kKeyFromImage);
    scene.DrawOneSprite(sprite);
    gfx::FreePicture(picture);
    theApp.Sound()->PlaySound(kPageSound, false, false);
    scene.RedrawDirty();
}

int AboutView::HandleEvent(InputEvent& event) {
    if (event.type != kEventPenDown) return kNotConsumed;
    theApp.Sound()->PlaySound(kPageSound, false, false);
    theApp.Views()->Back();
    return kConsumed;
}
