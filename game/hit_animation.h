// What is left on screen where a field target was hit: a run-once frame
// animation, or a single picture sliding along a short path.
#pragma once

#include <cstdint>
#include <optional>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "game/line_path.h"
#include "graphics/layer_manager.h"

class HitAnimation {
public:
    HitAnimation() = default;
    virtual ~HitAnimation() = default;
    HitAnimation(const HitAnimation&) = delete;
    HitAnimation& operator=(const HitAnimation&) = delete;

    // False when the sprite cannot be made; the animation must not be used.
    bool init(const FrameSet& frames, int32_t x, int32_t y, int32_t frameMs, bool blend);
    // Without a path it is finished on its last frame; with one, when the
    // path is.
    void setPath(const LinePath& path) { path_ = path; }
    // One step along the path per call, no interval.
    void update(gfx::LayerManager& scene);
    void release();

    AnimatedSprite& sprite() { return sprite_; }
    const AnimatedSprite& sprite() const { return sprite_; }
    bool finished() const { return finished_; }

private:
    AnimatedSprite sprite_;
    std::optional<LinePath> path_;
    bool finished_ = false;
};
