#include "screens/title_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "platform/platform.h"

namespace {

constexpr uint16_t kTitlePicture = 583;
constexpr uint16_t kPromptPicture = 584;
constexpr int32_t kPromptX = 200;
constexpr int32_t kPromptY = 10;

}  // namespace

void TitleView::Enter() {
    gfx::LoadSharedPicture(title_, kTitlePicture, gfx::kScreenWidth, gfx::kScreenHeight);
    gfx::LoadSharedPicture(prompt_, kPromptPicture, 36, 86);
    lastBlink_ = 0;
    promptShown_ = false;
}

void TitleView::Leave() {
    gfx::FreePicture(title_);
    gfx::FreePicture(prompt_);
}

int TitleView::HandleEvent(InputEvent& event) {
    const uint32_t now = plat::GetTickCount();
    if (event.type == kEventPenDown) {
        // The switch does not wait for a blink step.
        theApp.Views()->SwitchTo(kViewMainMenu);
    } else if (now - lastBlink_ > kBlinkMs) {
        lastBlink_ = now;
        gfx::DrawPicture(title_, 0, 0);
        if (promptShown_) gfx::DrawPicture(prompt_, kPromptX, kPromptY);
        GetScene()->GetDisplayList().PresentWhole();
        promptShown_ = !promptShown_;
    }
    return kConsumed;
}
