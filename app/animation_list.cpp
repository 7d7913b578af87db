#include "app/animation_list.h"

#include "app/animated_sprite.h"

void AnimationList::SetScene(gfx::Scene* scene) {
    scene_ = scene;
    if (scene_ != nullptr) scene_->SetAnimationList(&sprites_);
}

void AnimationList::Step() {
    if (scene_ == nullptr) return;
    bool changed = false;
    for (gfx::SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        // Only AddSpriteAnimated fills this list, and only with animated sprites.
        auto* sprite = static_cast<AnimatedSprite*>(node->sprite);
        if (!sprite->AdvanceIfDue()) continue;
        scene_->MarkSpriteDirty(*sprite);
        changed = true;
    }
    if (changed) scene_->RedrawDirty();
}
