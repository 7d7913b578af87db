#include "game/effect_table.h"

#include <algorithm>

void EffectTable::init(gfx::Scene* scene, uint8_t limit) {
    // What a hunt that was never released left behind goes out through the
    // new scene: the old one may be gone.
    scene_ = scene;
    release();
    scene_ = scene;
    limit_ = std::min(limit, kCapacity);
}

bool EffectTable::add(const FrameSet& frames, int32_t x, int32_t y, int32_t periodMs, uint8_t layer, bool blend) {
    if (scene_ == nullptr || effects_.count() >= limit_) return false;
    AnimatedSprite& sprite = *effects_.take();
    if (!sprite.InitAnimation(frames, x, y, true, true, blend, periodMs, kAnimationOnce, gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(sprite);
        effects_.give(static_cast<uint8_t>(effects_.count() - 1));
        return false;
    }
    scene_->AddSpriteAnimated(sprite, layer);
    // Shown at the next frame, not only once its first period has passed.
    scene_->MarkSpriteDirty(sprite);
    return true;
}

void EffectTable::update() {
    const bool removed = effects_.removeIf([this](AnimatedSprite& sprite) {
        const FrameSequence& frames = sprite.Sequence();
        if (frames.Index() < frames.Count() - 1) return false;
        drop(sprite);
        return true;
    });
    if (removed) scene_->RedrawDirty();
}

void EffectTable::drop(AnimatedSprite& sprite) {
    scene_->RemoveSpriteAnimated(sprite);
    gfx::FreeSpriteBackground(sprite);
}

void EffectTable::hide() {
    for (uint8_t i = 0; i < effects_.count(); ++i) scene_->RemoveSpriteAnimated(effects_[i]);
}

void EffectTable::show() {
    for (uint8_t i = 0; i < effects_.count(); ++i) {
        AnimatedSprite& sprite = effects_[i];
        scene_->RemoveSpriteAnimated(sprite);  // never twice in the lists
        scene_->AddSpriteAnimated(sprite, sprite.layer);
        scene_->MarkSpriteDirty(sprite);
    }
}

void EffectTable::release() {
    effects_.removeIf([this](AnimatedSprite& sprite) {
        drop(sprite);
        return true;
    });
    scene_ = nullptr;
}
