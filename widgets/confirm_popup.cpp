#include "widgets/confirm_popup.h"

#include "app/input_event.h"
#include "app/message_loop.h"
#include "graphics/layer_manager.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kBoxPicture = 532;
constexpr uint16_t kYesPicture = 533;
constexpr uint16_t kNoPicture = 534;
constexpr uint16_t kClickSound = 540;

// Both ends of both ranges are inside.
bool Inside(const gfx::Rect& rect, int32_t x, int32_t y) {
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

uint16_t Extent(int32_t length) { return static_cast<uint16_t>(length); }

}  // namespace

ConfirmPopup::ConfirmPopup(gfx::LayerManager& scene, InputState& input, snd::SoundManager* sound)
    : scene_(scene), input_(input), sound_(sound) {
    gfx::LoadSharedPicture(boxPicture_, kBoxPicture, Extent(kBoxRect.Width()), Extent(kBoxRect.Height()));
    gfx::LoadSharedPicture(yesPressed_, kYesPicture, Extent(kYesRect.Width()), Extent(kYesRect.Height()));
    gfx::LoadSharedPicture(noPressed_, kNoPicture, Extent(kNoRect.Width()), Extent(kNoRect.Height()));
}

ConfirmPopup::~ConfirmPopup() {
    gfx::FreePicture(boxPicture_);
    gfx::FreePicture(yesPressed_);
    gfx::FreePicture(noPressed_);
}

void ConfirmPopup::DrawBox() { gfx::DrawPictureKeyedAtPixel(boxPicture_, kBoxRect.left, kBoxRect.top, 1, 1); }

void ConfirmPopup::Present(const gfx::Rect& rect) { scene_.GetDisplayList().GetDisplay().PresentRects(&rect, 1); }

void ConfirmPopup::ShowPressed(const gfx::Picture& picture, const gfx::Rect& rect) {
    if (sound_ != nullptr) sound_->PlaySound(kClickSound, false, false);
    gfx::DrawPicture(picture, rect.left, rect.top);
    Present(rect);
}

int ConfirmPopup::Run() {
    DrawBox();
    Present(kBoxRect);
    InputEvent event{};
    while (ReadModalEvent(input_, event)) {
        const bool onYes = Inside(kYesRect, event.x, event.y);
        const bool onNo = Inside(kNoRect, event.x, event.y);
        if (event.type == kEventPenDown) {
            if (onYes) ShowPressed(yesPressed_, kYesRect);
            if (onNo) ShowPressed(noPressed_, kNoRect);
        } else if (event.type == kEventPenUp && (onYes || onNo)) {
            DrawBox();
            Present(onYes ? kYesRect : kNoRect);
            return onYes ? 1 : 0;
        } else if (event.type == kEventCharacter && event.payload[0] == kCharEscape) {
            // The desktop's Escape is the cancel of every screen; here that is no.
            DrawBox();
            Present(kBoxRect);
            return 0;
        }
    }
    // The window was closed: no more input will come. The main loop sees the
    // ended queue too and shuts the program down normally.
    return 0;
}
