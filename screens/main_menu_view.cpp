#include "screens/main_menu_view.h"

#include "app/animation_list.h"
#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/picture_pool.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

namespace {

struct MenuItem {
    uint16_t picture;  // the pressed look is the next id
    uint16_t length;   // along y; all are 40 across
    int32_t x;
    int32_t startY;
    int32_t finalY;
};

constexpr MenuItem kItemTable[MainMenuView::kItems] = {
    {366, 152, 11, -168, 0},   // a new hunt
    {358, 122, 57, -140, 0},   // options
    {368, 110, 103, -112, 0},  // results and high scores
    {362, 92, 149, -98, 0},    // how to play
    {360, 82, 195, -98, 0},    // quit
    {364, 158, 195, 330, 162}, // the player's name
};

// Where each button leads, by id; the quit button leads nowhere.
constexpr uint32_t kQuitId = 4;
constexpr uint8_t kTargets[MainMenuView::kItems] = {kViewHunt,      kViewOptions, kViewResults,
                                                    kViewHowToPlay, 0,            kViewNameEntry};

// The order in which the buttons are offered events.
constexpr int kControlOrder[MainMenuView::kItems] = {0, 1, 2, 3, 5, 4};

constexpr uint16_t kBackdrop = 355;
constexpr uint16_t kFontPicture = 503;
constexpr uint8_t kFontHeight = 18;
constexpr int32_t kFontLength = 554;
constexpr uint16_t kFontBase = 48;
constexpr uint8_t kNameLength = 8;
constexpr int32_t kNameX = 203;
constexpr int32_t kNameStartY = 350;
constexpr int32_t kNameCentreY = 410;
constexpr int32_t kNameInsetX = 9;
constexpr int32_t kButtonWidth = 40;
constexpr int32_t kFramePeriod = 100;

constexpr uint16_t kClickSound = 540;
constexpr uint16_t kMenuMusic = 535;

}  // namespace

void MainMenuView::Enter() {
    plat::Srand(plat::GetTickCount());
    animating_ = true;
    phase_ = 0;
    gfx::Scene& scene = *GetScene();
    // The music starts only on the way in from the title; every other return
    // leaves what plays alone.
    if (theApp.Views()->Previous() == kViewTitle) {
        theApp.Sound()->StopAllSounds();
        theApp.Sound()->PlaySound(kMenuMusic, true, true);
    }
    DrawBackdrop(kBackdrop, false, false);

    const MenuItem& nameItem = kItemTable[kNameItem];
    for (int i = 0; i < kNameItem; ++i) {
        const MenuItem& item = kItemTable[i];
        gfx::LoadSharedPicture(pictures_[i], item.picture, kButtonWidth, item.length);
        gfx::SetSpritePicture(slide_[i], &pictures_[i], item.x, item.startY, false, false, false,
                              gfx::kKeyFromImage);
    }
    // The name is drawn into both looks of its button: they are pool slots.
    for (int look = 0; look < 2; ++look) {
        nameLooks_[look] = gfx::TakeLoadedPicture(static_cast<uint16_t>(nameItem.picture + look), kButtonWidth,
                                                  nameItem.length);
    }
    gfx::SetSpritePicture(slide_[kNameItem], nameLooks_[0], nameItem.x, nameItem.startY, false, false, false,
                          gfx::kKeyFromImage);

    nameFont_.load(kFontPicture, kFontHeight, kFontLength, kFontBase);
    nameField_.InitTextField(kNameX, kNameStartY, &nameFont_, kNameLength, true, false);
    nameField_.SetText(theApp.GetSettings()->UserName);
    nameField_.sprite.y = kNameCentreY - static_cast<int32_t>(nameField_.sprite.height / 2);
    const int32_t insetY = nameField_.sprite.y - nameItem.startY;
    const gfx::Picture* name = nameField_.sprite.image;
    for (gfx::Picture* look : nameLooks_) {
        if (name != nullptr && look != nullptr) {
            gfx::ComposePicture(*name, *look, kNameInsetX, insetY, true, nameField_.sprite.key, false);
        }
    }
    gfx::SetSpritePicture(pressedSprite_, nameLooks_[1], nameItem.x, nameItem.startY, false, false, false,
                          gfx::kKeyFromImage);

    for (gfx::Sprite& sprite : slide_) scene.AddSprite(sprite, kSlideLayer);
}

void MainMenuView::DropSlidePictures() {
    for (int i = 0; i < kNameItem; ++i) {
        GetScene()->RemoveSprite(slide_[i]);
        gfx::FreeSpriteBackground(slide_[i]);
        gfx::FreePicture(pictures_[i]);
    }
}

void MainMenuView::FinishSlide() {
    animating_ = false;
    phase_ = 0;
    DropSlidePictures();
    for (int i = 0; i < kNameItem; ++i) {
        const MenuItem& item = kItemTable[i];
        buttons_[i].InitButton(static_cast<uint16_t>(i), item.x, item.finalY, kButtonWidth, item.length, item.picture,
                               static_cast<uint16_t>(item.picture + 1), Button::kNormal, true, false, false,
                               kFramePeriod);
    }
    const MenuItem& name = kItemTable[kNameItem];
    buttons_[kNameItem].InitButtonShared(kNameItem, name.x, name.finalY, kButtonWidth, name.length, nameLooks_, 2,
                                         Button::kNormal, true, true, false, kFramePeriod);
    for (const int i : kControlOrder) {
        AddControl(&buttons_[i]);
        ShowControl(buttons_[i], kButtonLayer);
    }
    GetScene()->RedrawAll();
}

void MainMenuView::Slide() {
    gfx::Scene& scene = *GetScene();
    const int32_t nameFinalY = kItemTable[kNameItem].finalY;
    if (!theApp.GetSettings()->MenuAnimation) {
        phase_ = kNameItem;
        slide_[kNameItem].y = nameFinalY;
    }
    const uint32_t now = plat::GetTickCount();
    if (now == lastTick_) return;
    lastTick_ = now;

    gfx::Sprite& sprite = slide_[phase_];
    if (phase_ < kNameItem) {
        if (sprite.y < 0) {
            sprite.y += kSlideStep;
            scene.MarkSpriteDirty(sprite);
        } else {
            ++phase_;
        }
        scene.RedrawAll();
    } else if (sprite.y > nameFinalY) {
        sprite.y -= kSlideStep;
        scene.MarkSpriteDirty(sprite);
        scene.RedrawAll();
    } else {
        FinishSlide();
    }
}

int MainMenuView::Act(uint32_t controlId) {
    theApp.Sound()->PlaySound(kClickSound, false, false);
    if (controlId == kQuitId) return kQuit;
    if (controlId < kItems) theApp.Views()->SwitchTo(kTargets[controlId], true);
    return kConsumed;
}

int MainMenuView::HandleEvent(InputEvent& event) {
    if (animating_) {
        Slide();
        return kConsumed;
    }
    if (RouteToControls(event) != 0 && event.type == kEventControlClicked) {
        return Act(event.payload[kSlotControlId]);
    }
    return kConsumed;
}

void MainMenuView::Leave() {
    gfx::Scene& scene = *GetScene();
    // Left greyed behind the next screen.
    scene.DrawAllSprites();
    scene.GetDisplayList().GrayDisplay();
    scene.GetDisplayList().PresentWhole();
    theApp.Animations()->Clear();

    if (animating_) DropSlidePictures();
    scene.RemoveSprite(slide_[kNameItem]);
    scene.RemoveSprite(pressedSprite_);
    // From the last down, so that no control moves before it goes.
    for (int i = ControlCount() - 1; i >= 0; --i) RemoveControl(i);
    for (Button& button : buttons_) button.ReleaseFrames();
    gfx::FreeSpriteBackground(slide_[kNameItem]);
    gfx::FreeSpriteBackground(pressedSprite_);
    for (gfx::Picture*& look : nameLooks_) {
        gfx::GivePicture(look);
        look = nullptr;
    }
    scene.RemoveSprite(nameField_.sprite);
    nameField_.ReleaseTextField();
    nameFont_.release();
}
