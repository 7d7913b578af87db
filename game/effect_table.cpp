#include "game/effect_table.h"

#include <algorithm>

void EffectTable::init(gfx::Scene* scene, uint8_t limit) {
    release();
    scene_ = scene;
    limit_ = std::min(limit, kCapacity);
}

bool EffectTable::add(const FrameSet& frames, int32_t x, int32_t y, int32_t periodMs, uint8_t layer, bool blend) {
    if (scene_ == nullptr || count_ >= limit_) return false;
    AnimatedSprite& sprite = *free_[freeCount_ - 1];
    if (!sprite.InitAnimation(frames, x, y, true, true, blend, periodMs, kAnimationOnce, gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(sprite);
        return false;
    }
    --freeCount_;
    scene_->AddSpriteAnimated(sprite, layer);
    live_[count_++] = &sprite;
    return true;
}

void EffectTable::update() {
    bool removed = false;
    for (uint8_t i = 0; i < count_;) {
        const FrameSequence& frames = live_[i]->Sequence();
        if (frames.Index() < frames.Count() - 1) {
            ++i;
            continue;
        }
        remove(i);  // the last entry moves into slot i: look at it again
        removed = true;
    }
    if (removed) scene_->RedrawDirty();
}

void EffectTable::remove(uint8_t i) {
    AnimatedSprite* sprite = live_[i];
    scene_->RemoveSpriteAnimated(*sprite);
    gfx::FreeSpriteBackground(*sprite);
    free_[freeCount_++] = sprite;
    live_[i] = live_[--count_];
}

void EffectTable::hide() {
    for (uint8_t i = 0; i < count_; ++i) scene_->RemoveSpriteAnimated(*live_[i]);
}

void EffectTable::show() {
    for (uint8_t i = 0; i < count_; ++i) {
        AnimatedSprite& sprite = *live_[i];
        scene_->RemoveSpriteAnimated(sprite);  // never twice in the lists
        scene_->AddSpriteAnimated(sprite, sprite.layer);
        scene_->MarkSpriteDirty(sprite);
    }
}

void EffectTable::release() {
    while (count_ > 0) remove(static_cast<uint8_t>(count_ - 1));
    // Every slot free again, also the first time.
    freeCount_ = 0;
    for (AnimatedSprite& sprite : pool_) free_[freeCount_++] = &sprite;
    scene_ = nullptr;
}
