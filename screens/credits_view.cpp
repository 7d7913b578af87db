#include "screens/credits_view.h"

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/blit.h"
#include "graphics/scene.h"
#include "platform/platform.h"

namespace {

struct Caption {
    uint16_t picture;
    uint16_t width;
    uint16_t length;  // along y
    int32_t startX;
};

// A heading and its lines are 20 apart, groups 40 apart.
constexpr Caption kCaptionTable[CreditsView::kCaptions] = {
    {407, 20, 112, 220}, {408, 20, 164, 240}, {409, 20, 154, 260}, {410, 20, 92, 300},
    {411, 20, 144, 320}, {412, 20, 134, 360}, {413, 20, 172, 380}, {415, 20, 152, 420},
    {416, 20, 144, 440}, {417, 20, 186, 480}, {418, 20, 176, 500}, {419, 20, 168, 540},
    {420, 18, 126, 560},
};

// Fade steps as the blends take them, one per 10 pixels of the fading bands.
constexpr float kFade[10] = {0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f};

constexpr int32_t kMoveStep = 2;

}  // namespace

float CreditsView::OpacityAt(int32_t x) {
    if (x >= kEnterX || x < 10) return 0.0f;
    if (x >= 130) return kFade[22 - x / 10];
    if (x >= 100) return 1.0f;
    return kFade[x / 10];
}

void CreditsView::Enter() {
    gfx::FillSurface(GetScene()->GetDisplayList().GetDisplay().GetDisplaySurface(), 0);
    GetScene()->GetDisplayList().PresentWhole();
    for (int i = 0; i < kCaptions; ++i) {
        const Caption& caption = kCaptionTable[i];
        gfx::LoadSharedPicture(pictures_[i], caption.picture, caption.width, caption.length);
        x_[i] = caption.startX;
        y_[i] = kBottomY - caption.length;
    }
}

void CreditsView::Leave() {
    for (gfx::Picture& picture : pictures_) gfx::FreePicture(picture);
}

void CreditsView::Step() {
    gfx::Surface& screen = GetScene()->GetDisplayList().GetDisplay().GetDisplaySurface();
    for (int i = 0; i < kCaptions; ++i) {
        const float opacity = OpacityAt(x_[i]);
        const gfx::Surface* source = pictures_[i].surface;
        if (opacity > 0.0f && source != nullptr && source->width > 0) {
            const gfx::Rect whole = {0, 0, static_cast<int32_t>(source->width), static_cast<int32_t>(source->height)};
            const gfx::Colour key = source->At(0, 0);
            if (opacity >= 1.0f) {
                gfx::BlitKeyed(*source, screen, {x_[i], y_[i]}, whole, key);
            } else {
                gfx::BlitKeyedAlpha(*source, screen, {x_[i], y_[i]}, whole, key, opacity);
            }
        }
        x_[i] = x_[i] > kLeaveX ? x_[i] - kMoveStep : kEnterX;
    }
    GetScene()->GetDisplayList().PresentWhole();
    // Cleared only after the step was shown, ready for the next one.
    gfx::FillSurface(screen, 0);
}

int CreditsView::HandleEvent(InputEvent& event) {
    if (event.type == kEventPenDown) {
        theApp.Views()->Back();
        return kConsumed;
    }
    const uint32_t now = plat::GetTickCount();
    if (now - lastStep_ < kStepMs) return kConsumed;
    lastStep_ = now;
    Step();
    return kConsumed;
}
