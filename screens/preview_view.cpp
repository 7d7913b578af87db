#include "screens/preview_view.h"

#include <algorithm>

#include "app/game_app.h"
#include "graphics/scene.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kDuckPicture = 163;
constexpr uint16_t kDuckSize = 68;
constexpr uint8_t kDuckLayer = 10;
constexpr uint16_t kMenuMusic = 535;
constexpr uint16_t kShotSound = 550;

// Application objects other than the program's own have no sound.
void Play(uint16_t id, bool music) {
    if (snd::SoundManager* sound = theApp.Sound()) sound->PlaySound(id, music, music);
}

}  // namespace

void PreviewView::Enter() {
    gfx::Scene& scene = *GetScene();
    scene.SetScroll(0, kMaxScrollY);
    gfx::LoadHeldPicture(duckPicture_, kDuckPicture, kDuckSize, kDuckSize);
    gfx::CreateSprite(duck_, &duckPicture_, (240 - kDuckSize) / 2, kMaxScrollY + (320 - kDuckSize) / 2, true, true,
                      false, gfx::kKeyFromImage);
    scene.AddSprite(duck_, kDuckLayer);
    scene.RedrawScene();
    Play(kMenuMusic, true);
}

void PreviewView::Leave() {
    if (snd::SoundManager* sound = theApp.Sound()) sound->StopAllSounds();
    GetScene()->RemoveSprite(duck_);
    gfx::FreeSpriteBackground(duck_);
    gfx::FreeHeldPicture(duckPicture_);
}

void PreviewView::ScrollBy(int32_t dy) {
    gfx::Scene& scene = *GetScene();
    const int32_t target = std::clamp(scene.GetScrollY() + dy, 0, kMaxScrollY);
    if (target == scene.GetScrollY()) return;
    // The duck stays where it is on screen while the ground moves under it.
    duck_.y += target - scene.GetScrollY();
    scene.SetScroll(scene.GetScrollX(), target);
    scene.RedrawScene();
}

int PreviewView::HandleEvent(InputEvent& event) {
    gfx::Scene& scene = *GetScene();
    if (event.type == kEventPenDown) Play(kShotSound, false);
    if (event.type == kEventPenDown || event.type == kEventPenHeld) {
        duck_.x = event.x - kDuckSize / 2 + scene.GetScrollX();
        duck_.y = event.y - kDuckSize / 2 + scene.GetScrollY();
    } else if (event.type == kEventKeys) {
        for (int i = 0; i < event.keyCount; ++i) {
            if (event.payload[i] == kKeyUp) ScrollBy(-kScrollStep);
            if (event.payload[i] == kKeyDown) ScrollBy(kScrollStep);
        }
    }
    // A moving sprite is erased after every frame, so it is drawn on every event.
    scene.MarkSpriteDirty(duck_);
    scene.RedrawDirty();
    return event.type == kEventIdle ? kNotConsumed : kConsumed;
}
