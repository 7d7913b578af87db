// The animated sprites that advance on every event nobody consumed.
#pragma once

#include "graphics/scene.h"
#include "graphics/sprite_list.h"

class AnimationList {
public:
    AnimationList() = default;
    virtual ~AnimationList() = default;
    AnimationList(const AnimationList&) = delete;
    AnimationList& operator=(const AnimationList&) = delete;

    // The scene's AddSpriteAnimated then inserts into this list.
    void SetScene(gfx::Scene* scene);
    // Moves every sprite that is due on one frame; one full redraw when any
    // of them changed.
    void Step();
    // The sprites stay with their owners.
    void Clear() { sprites_.Clear(); }

    uint16_t Count() const { return sprites_.Count(); }

private:
    gfx::SpriteList sprites_;
    gfx::Scene* scene_ = nullptr;
};
