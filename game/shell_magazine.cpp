#include "game/shell_magazine.h"

namespace {

constexpr uint16_t kFirstFrame = 244;
constexpr uint16_t kLastFrame = 252;
constexpr uint16_t kFrameWidth = 26;
constexpr uint16_t kFrameHeight = 96;
// Frames change only when asked; the period just lets fire() step at once.
constexpr int32_t kFramePeriodMs = 1;

}  // namespace

bool ShellMagazine::init(int32_t x, int32_t y, gfx::Scene* scene, uint8_t capacity) {
    // What a hunt that was never released left behind goes out through the
    // new scene: the old one may be gone.
    scene_ = scene;
    release();
    capacity_ = capacity;
    shells_ = capacity;
    x_ = x;
    y_ = y;
    frames_.LoadFrames(kFirstFrame, kLastFrame, kFrameWidth, kFrameHeight);
    if (scene == nullptr || !sprite_.InitAnimation(frames_, scene->GetScrollX() + x, scene->GetScrollY() + y, true,
                                                   true, false, kFramePeriodMs, kAnimationLoop,
                                                   gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(sprite_);
        frames_.FreeFrames();
        return false;
    }
    scene_ = scene;
    scene_->AddSprite(sprite_, kLayer);
    scene_->MarkSpriteDirty(sprite_);
    return true;
}

void ShellMagazine::fire() {
    if (shells_ == 0 || scene_ == nullptr) return;
    --shells_;
    sprite_.AdvanceIfDue();
    scene_->MarkSpriteDirty(sprite_);
}

void ShellMagazine::reload() {
    shells_ = capacity_;
    if (scene_ == nullptr) return;
    sprite_.SetFrame(0);
    scene_->MarkSpriteDirty(sprite_);
}

void ShellMagazine::blink(uint32_t now) {
    // Unsigned difference: right across the wrap of the tick counter.
    if (shells_ != 0 || scene_ == nullptr || now - blinkTime_ <= kBlinkMs) return;
    blinkTime_ = now;
    if (sprite_.Sequence().Index() == kEmptyFrame) {
        sprite_.NextFrame();
    } else {
        sprite_.PreviousFrame();
    }
    scene_->MarkSpriteDirty(sprite_);
}

void ShellMagazine::reposition() {
    if (scene_ == nullptr) return;
    sprite_.x = scene_->GetScrollX() + x_;
    sprite_.y = scene_->GetScrollY() + y_;
    scene_->MarkSpriteDirty(sprite_);
}

void ShellMagazine::hide() {
    if (scene_ != nullptr) scene_->RemoveSprite(sprite_);
}

void ShellMagazine::show() {
    if (scene_ == nullptr) return;
    // The scroll may still be another screen's here: the strip keeps its
    // world place and returns with the hunt's scroll.
    scene_->RemoveSprite(sprite_);  // never twice in the list
    scene_->AddSprite(sprite_, kLayer);
    scene_->MarkSpriteDirty(sprite_);
}

void ShellMagazine::release() {
    if (scene_ != nullptr) scene_->RemoveSprite(sprite_);
    scene_ = nullptr;
    gfx::FreeSpriteBackground(sprite_);
    frames_.FreeFrames();
    shells_ = 0;
}
