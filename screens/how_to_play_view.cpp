#include "screens/how_to_play_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

namespace {

enum ButtonId : uint16_t {
    kOk = 0,
    kCredits = 1,
    kNext = 2,
    kPrevious = 3,
    kAbout = 4,
};

struct ButtonPlace {
    int32_t x, y, width, height;
    uint16_t picture;  // the pressed look is the next id
};

constexpr ButtonPlace kButtonTable[HowToPlayView::kButtons] = {
    {200, 14, 26, 42, 390}, {200, 72, 26, 128, 386}, {137, 19, 42, 20, 388},
    {22, 19, 42, 20, 384},  {200, 214, 26, 94, 399},
};

constexpr uint16_t kBackground = 383;
constexpr int32_t kPageX = 62;
constexpr int32_t kPageY = 62;
constexpr uint16_t kPageWidth = 118;
constexpr uint16_t kPageHeight = 216;
constexpr uint8_t kPageLayer = 2;
constexpr uint8_t kButtonLayer = 200;
constexpr uint16_t kClickSound = 540;
constexpr uint16_t kPageSound = 578;

}  // namespace

void HowToPlayView::Enter() {
    gfx::Scene& scene = *GetScene();
    DrawBackdrop(kBackground, false, false);
    for (uint16_t i = 0; i < kButtons; ++i) {
        const ButtonPlace& place = kButtonTable[i];
        buttons_[i].InitButton(i, place.x, place.y, place.width, place.height, place.picture,
                               static_cast<uint16_t>(place.picture + 1));
        AddControl(&buttons_[i]);
        ShowControl(buttons_[i], kButtonLayer);
    }
    pageId_ = kFirstPage;
    gfx::LoadSharedPicture(pagePicture_, pageId_, kPageWidth, kPageHeight);
    gfx::SetSpritePicture(page_, &pagePicture_, kPageX, kPageY, false, false, false, gfx::kKeyFromImage);
    scene.AddSprite(page_, kPageLayer);
}

void HowToPlayView::Leave() {
    GetScene()->RemoveSprite(page_);
    gfx::FreeSpriteBackground(page_);
    gfx::FreePicture(pagePicture_);
    for (int i = ControlCount() - 1; i >= 0; --i) RemoveControl(i);
    for (Button& button : buttons_) button.ReleaseFrames();
}

void HowToPlayView::TurnTo(uint16_t pageId) {
    gfx::Scene& scene = *GetScene();
    theApp.Sound()->PlaySound(kPageSound, false, false);
    pageId_ = pageId;
    gfx::LoadSharedPicture(pagePicture_, pageId_, kPageWidth, kPageHeight);
    page_.blend = true;
    scene.MarkSpriteDirty(page_);
    scene.RedrawDirty();
    // The half-turned page stays a moment; input waits meanwhile.
    const uint32_t start = plat::GetTickCount();
    while (plat::GetTickCount() - start < kTurnMs) {
    }
    page_.blend = false;
    scene.MarkSpriteDirty(page_);
    scene.RedrawDirty();
}

void HowToPlayView::Click(uint32_t controlId) {
    theApp.Sound()->PlaySound(kClickSound, false, false);
    ViewList& views = *theApp.Views();
    switch (controlId) {
        case kOk:
            views.Back();
            break;
        case kCredits:
            views.SwitchTo(kViewCredits, true);
            break;
        case kAbout:
            views.SwitchTo(kViewAbout, true);
            break;
        case kNext:
            if (pageId_ != kLastPage) TurnTo(static_cast<uint16_t>(pageId_ + 1));
            break;
        case kPrevious:
            if (pageId_ != kFirstPage) TurnTo(static_cast<uint16_t>(pageId_ - 1));
            break;
        default:
            break;
    }
}

int HowToPlayView::HandleEvent(InputEvent& event) {
    if (event.type == kEventViewEntered) GetScene()->RedrawAll();
    // Escape presses OK.
    if (event.type == kEventCharacter && event.payload[0] == kCharEscape) {
        Click(kOk);
        return kConsumed;
    }
    if (RouteToControls(event) != 0 && event.type == kEventControlClicked) Click(event.payload[kSlotControlId]);
    return kConsumed;
}
