#include "screens/introduction_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/blit.h"
#include "graphics/effects.h"
#include "graphics/scene.h"
#include "platform/platform.h"

namespace {

constexpr uint16_t kRequestPicture = 351;
constexpr uint16_t kRequestWidth = 220;
constexpr uint16_t kRequestHeight = 212;
constexpr int32_t kRequestX = 10;
constexpr int32_t kRequestY = 53;
constexpr uint16_t kLogoPicture = 350;
constexpr uint16_t kLogoSize = 180;
constexpr gfx::Rect kLogoRect = {30, 70, 210, 250};
constexpr uint16_t kSkipId = 1;
constexpr uint8_t kSkipLayer = 200;
constexpr float kFadeStep = 0.1f;
constexpr double kTurnStep = 4.0;

gfx::Rect Whole(const gfx::Picture& picture) { return {0, 0, picture.width, picture.height}; }

// The picture's own top-left pixel; a picture that could not be made has none.
gfx::Colour KeyOf(const gfx::Picture& picture) { return picture.width > 0 ? picture.surface->At(0, 0) : 0; }

}  // namespace

void IntroductionView::ClearScreen() {
    gfx::FillSurface(GetScene()->GetDisplayList().GetDisplay().GetDisplaySurface(), 0);
}

void IntroductionView::Enter() {
    skip_.InitButton(kSkipId, 180, 300, 46, 18, 352, 353);
    AddControl(&skip_);
    ShowControl(skip_, kSkipLayer);
    gfx::LoadSharedPicture(splash_, kRequestPicture, kRequestWidth, kRequestHeight);
    angle_ = kFirstAngle;
    ClearScreen();
    GetScene()->GetDisplayList().PresentWhole();
}

void IntroductionView::Leave() {
    gfx::FreePicture(splash_);
    // Its sprite leaves the scene before the button goes.
    RemoveControl(0);
    skip_.ReleaseFrames();
}

int IntroductionView::Finish() {
    theApp.Views()->SwitchTo(kViewTitle);
    return kConsumed;
}

int IntroductionView::HandleEvent(InputEvent& event) {
    gfx::Scene& scene = *GetScene();
    gfx::DisplayList& display = scene.GetDisplayList();
    gfx::Surface& screen = display.GetDisplay().GetDisplaySurface();
    const uint32_t now = plat::GetTickCount();

    if (splashStart_ == 0) {
        splashStart_ = now;
        gfx::BlitKeyed(*splash_.surface, screen, {kRequestX, kRequestY}, Whole(splash_), KeyOf(splash_));
        display.PresentWhole();
        scene.RedrawAll();  // the Skip button
        return kConsumed;
    }
    // The request stands still: the time for the rest of the start-up, so
    // that no screen after this one waits for it.
    theApp.FinishStartUp();
    if (now - splashStart_ < kRequestMs) {
        // Escape skips as the button does.
        if (event.type == kEventCharacter && event.payload[0] == kCharEscape) return Finish();
        return RouteToControls(event) != 0 ? Finish() : kConsumed;
    }
    if (showLogo_) {
        gfx::LoadSharedPicture(splash_, kLogoPicture, kLogoSize, kLogoSize);
        ClearScreen();
        display.PresentWhole();
        showLogo_ = false;
        return kConsumed;
    }
    if (static_cast<double>(logoAlpha_) <= 1.0) {
        // Drawn over the last step without clearing, so the logo builds up.
        if (now - lastFade_ < kFadeMs) return kConsumed;
        lastFade_ = now;
        logoAlpha_ += kFadeStep;
        gfx::BlitKeyedAlpha(*splash_.surface, screen, {kLogoRect.left, kLogoRect.top}, Whole(splash_),
                            KeyOf(splash_), logoAlpha_);
        display.PresentWhole();
        return kConsumed;
    }
    if (angle_ < kLastAngle) {
        if (now - lastTurn_ < kTurnMs) return kConsumed;
        lastTurn_ = now;
        ClearScreen();
        gfx::RotatePicture(*splash_.surface, screen, kLogoRect, angle_);
        display.PresentWhole();
        angle_ += kTurnStep;
        return kConsumed;
    }
    return Finish();
}
