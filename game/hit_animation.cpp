#include "game/hit_animation.h"

bool HitAnimation::init(const FrameSet& frames, int32_t x, int32_t y, int32_t frameMs, bool blend) {
    release();
    if (!sprite_.InitAnimation(frames, x, y, true, true, blend, frameMs, kAnimationOnce, gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(sprite_);
        return false;
    }
    finished_ = false;
    return true;
}

void HitAnimation::update(gfx::LayerManager& scene) {
    if (!path_) {
        finished_ = sprite_.Sequence().Index() >= sprite_.Sequence().Count() - 1;
        return;
    }
    if (path_->isFinished()) {
        finished_ = true;
        return;
    }
    const gfx::Point at = path_->next();
    sprite_.x = at.x;
    sprite_.y = at.y;
    scene.MarkSpriteDirty(sprite_);
}

void HitAnimation::release() {
    path_.reset();
    gfx::FreeSpriteBackground(sprite_);
}
