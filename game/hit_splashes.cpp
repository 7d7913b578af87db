#include "game/hit_splashes.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

constexpr uint8_t kFirstSmallKind = 3;
constexpr uint8_t kLabelLength = 5;

// One step along the path once more than 50 ms have passed; true once the
// path has ended.
bool Follow(LinePath& path, uint32_t& lastStep, gfx::Sprite& sprite, gfx::Scene& scene, uint32_t now) {
    if (path.isFinished()) return true;
    if (now - lastStep <= HitSplashes::kStepMs) return false;
    lastStep = now;
    const gfx::Point p = path.next();
    sprite.x = p.x;
    sprite.y = p.y;
    scene.MarkSpriteDirty(sprite);
    return false;
}

}  // namespace

int HitSplashes::init(gfx::Scene* scene, const StripFont* font) {
    // What a hunt that was never released left behind goes out through the
    // new scene: the old one may be gone.
    scene_ = scene;
    release();
    scene_ = scene;
    font_ = font;
    bigDead_.LoadFrames(253, 253, 62, 68);
    smallDead_.LoadFrames(254, 254, 32, 34);
    loaded_ = true;
    return 0;
}

void HitSplashes::show(int32_t x, int32_t y, uint8_t duckKind, int32_t points) {
    if (scene_ == nullptr) return;
    Splash* splash = splashes_.take();
    if (splash == nullptr) return;
    const bool big = duckKind < kFirstSmallKind;
    const int32_t period = big ? 130 : 50;
    const uint8_t layer = big ? 130 : 50;
    if (!splash->faller.InitAnimation(big ? bigDead_ : smallDead_, x, y, true, true, false, period, kAnimationOnce,
                                      gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(splash->faller);
        splashes_.give(static_cast<uint8_t>(splashes_.count() - 1));
        return;
    }
    const uint32_t now = plat::GetTickCount();
    splash->fall.emplace(x + 3, y, x + 35, y, 1);
    splash->fallTick = now;
    scene_->AddSpriteAnimated(splash->faller, layer);

    char text[12];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(points));
    splash->label.InitTextField(x, y, font_, kLabelLength, true, false);
    splash->label.SetText(text);
    splash->rise.emplace(x - 3, y, x - 15, y, 1);
    splash->riseTick = now;
    scene_->AddSprite(splash->label.sprite, kLabelLayer);
    // The dead duck takes the live one's place at the next frame, not at
    // its first step.
    scene_->MarkSpriteDirty(splash->faller);
    scene_->MarkSpriteDirty(splash->label.sprite);
}

void HitSplashes::update() {
    const uint32_t now = plat::GetTickCount();
    const bool removed = splashes_.removeIf([this, now](Splash& s) {
        // Both move on before either may end the pair.
        const bool fallen = Follow(*s.fall, s.fallTick, s.faller, *scene_, now);
        const bool risen = Follow(*s.rise, s.riseTick, s.label.sprite, *scene_, now);
        if (!fallen && !risen) return false;
        drop(s);
        return true;
    });
    if (removed) scene_->RedrawDirty();
}

void HitSplashes::drop(Splash& s) {
    scene_->RemoveSpriteAnimated(s.faller);
    scene_->RemoveSprite(s.label.sprite);
    gfx::FreeSpriteBackground(s.faller);
    s.label.ReleaseTextField();
    s.fall.reset();
    s.rise.reset();
}

void HitSplashes::hide() {
    for (uint8_t i = 0; i < splashes_.count(); ++i) {
        scene_->RemoveSpriteAnimated(splashes_[i].faller);
        scene_->RemoveSprite(splashes_[i].label.sprite);
    }
}

void HitSplashes::show() {
    hide();  // never twice in the lists
    for (uint8_t i = 0; i < splashes_.count(); ++i) {
        Splash& s = splashes_[i];
        scene_->AddSpriteAnimated(s.faller, s.faller.layer);
        scene_->AddSprite(s.label.sprite, kLabelLayer);
        scene_->MarkSpriteDirty(s.faller);
        scene_->MarkSpriteDirty(s.label.sprite);
    }
}

int HitSplashes::release() {
    splashes_.removeIf([this](Splash& s) {
        drop(s);
        return true;
    });
    const int status = loaded_ ? 0 : kAlreadyReleased;
    bigDead_.FreeFrames();
    smallDead_.FreeFrames();
    loaded_ = false;
    scene_ = nullptr;
    return status;
}
