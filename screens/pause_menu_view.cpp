#include "screens/pause_menu_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "game/game_controller.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"

namespace {

struct PauseButton {
    uint16_t id;
    int32_t x;
    uint16_t picture;  // the pressed look is the next id
    uint8_t code;
};

// By press code - 1.
constexpr PauseButton kButtonTable[PauseMenuView::kButtons] = {
    {4, 86, 523, PauseMenuView::kOptions}, {1, 174, 519, PauseMenuView::kExit},
    {3, 114, 527, PauseMenuView::kScore},  {2, 146, 521, PauseMenuView::kHelp},
    {0, 203, 525, PauseMenuView::kResume},
};

// A press is looked for in one order and its release in another.
constexpr uint8_t kPressOrder[PauseMenuView::kButtons] = {PauseMenuView::kResume, PauseMenuView::kExit,
                                                          PauseMenuView::kOptions, PauseMenuView::kScore,
                                                          PauseMenuView::kHelp};
constexpr uint8_t kReleaseOrder[PauseMenuView::kButtons] = {PauseMenuView::kResume, PauseMenuView::kExit,
                                                            PauseMenuView::kScore, PauseMenuView::kOptions,
                                                            PauseMenuView::kHelp};

constexpr uint16_t kPanelPicture = 518;
constexpr uint16_t kPanelWidth = 170;
constexpr uint16_t kPanelHeight = 100;
constexpr int32_t kPanelY = 220;
constexpr int32_t kStartX = 240;
constexpr int32_t kRestLimit = 73;  // a slide step from below this ends the slide
constexpr int32_t kButtonY = 226;
constexpr int32_t kButtonWidth = 24;
constexpr int32_t kButtonHeight = 88;

constexpr uint16_t kClickSound = 540;
constexpr uint16_t kHuntAmbience = 537;

}  // namespace

void PauseMenuView::Enter() {
    lastStep_ = 0;
    animating_ = true;
    pressed_ = kNone;
    gfx::LoadSharedPicture(panel_, kPanelPicture, kPanelWidth, kPanelHeight);
    panelX_ = kStartX;
    for (int i = 0; i < kButtons; ++i) {
        const PauseButton& b = kButtonTable[i];
        buttons_[i].InitButton(b.id, b.x, kButtonY, kButtonWidth, kButtonHeight, b.picture,
                               static_cast<uint16_t>(b.picture + 1));
    }
    source_ = {0, 0, 0, kPanelHeight};
    destination_ = {kStartX, kPanelY, kStartX, kPanelY + kPanelHeight};
}

void PauseMenuView::Leave() {
    gfx::FreePicture(panel_);
    for (Button& button : buttons_) button.ReleaseFrames();
}

Button& PauseMenuView::ByCode(uint8_t code) { return buttons_[code - 1]; }

void PauseMenuView::DrawPanel() {
    if (panel_.width > 0) {
        gfx::DrawPictureKeyedRegion(panel_, destination_.left, destination_.top, source_, panel_.surface->At(0, 0));
    }
}

void PauseMenuView::PresentPanel() { GetScene()->GetDisplayList().GetDisplay().PresentRects(&destination_, 1); }

uint8_t PauseMenuView::ButtonAt(const uint8_t* order, int32_t x, int32_t y) const {
    for (int i = 0; i < kButtons; ++i) {
        if (buttons_[order[i] - 1].HitTest(x, y)) return order[i];
    }
    return kNone;
}

void PauseMenuView::Resume() {
    GetScene()->RedrawScene();
    theApp.Views()->Back();
    theApp.Sound()->StopAllSounds();
    theApp.Sound()->PlaySound(kHuntAmbience, true, true);
    theApp.Sound()->PlaySound(kClickSound, false, false);
}

void PauseMenuView::Run(uint8_t code) {
    ViewList& views = *theApp.Views();
    gfx::Scene& scene = *GetScene();
    GameController& controller = *theApp.Controller();
    switch (code) {
        case kResume:
            Resume();
            return;
        case kExit:
            controller.EndHunt();
            views.ResetBackStack();
            scene.SetScroll(0, 0);
            theApp.Sound()->PlaySound(kClickSound, false, false);
            views.SwitchTo(kViewMainMenu, true);
            return;
        default: {
            // Going back from these screens returns to the hunt.
            controller.SuspendHunt();
            scene.SetScroll(0, 0);
            theApp.Sound()->PlaySound(kClickSound, false, false);
            const uint8_t target = code == kScore ? kViewResults : code == kOptions ? kViewOptions : kViewHowToPlay;
            views.SwitchTo(target);
            return;
        }
    }
}

int PauseMenuView::HandleEvent(InputEvent& event) {
    if (animating_) {
        // Input waits until the panel is in place.
        if (!theApp.GetSettings()->MenuAnimation) {
            panelX_ = kPanelX;
            destination_.left = kPanelX;
            source_.right = kPanelWidth;
            DrawPanel();
            PresentPanel();
            animating_ = false;
            return kNotConsumed;
        }
        const uint32_t now = plat::GetTickCount();
        if (now - lastStep_ < kStepMs) return kNotConsumed;
        lastStep_ = now;
        if (panelX_ < kRestLimit) {
            animating_ = false;
        } else {
            panelX_ -= kSlideStep;
            destination_.left -= kSlideStep;
            source_.right += kSlideStep;
            DrawPanel();
            PresentPanel();
        }
        return kNotConsumed;
    }

    if (event.type == kEventCharacter && event.payload[0] == kCharEscape) {
        Resume();
    } else if (event.type == kEventPenDown) {
        DrawPanel();
        pressed_ = ButtonAt(kPressOrder, event.x, event.y);
        if (pressed_ != kNone) {
            const Button& button = ByCode(pressed_);
            gfx::DrawPicture(*button.frames->Frames()[1], button.sprite.x, button.sprite.y);
        }
        PresentPanel();
    } else if (event.type == kEventPenUp) {
        DrawPanel();
        PresentPanel();
        const uint8_t held = pressed_;
        pressed_ = kNone;
        // Only a release on the button that was pressed counts.
        if (held != kNone && ButtonAt(kReleaseOrder, event.x, event.y) == held) Run(held);
    }
    return kNotConsumed;
}
