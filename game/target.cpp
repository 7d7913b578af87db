#include "game/target.h"

#include "platform/platform.h"

FlightPath* CreateFlightPath(FlightPathStorage& storage, int32_t variant, const PathParams& p) {
    switch (variant) {
        case kPathLine:
            return &storage.emplace<LinePath>(p[0], p[1], p[2], p[3], p[4]);
        case kPathZigzag:
            return &storage.emplace<ZigzagPath>(p[0], p[1], p[2], p[3], p[4]);
        case kPathSlide:
            return &storage.emplace<SlidePath>(p[0], p[1], p[2], p[3], static_cast<int16_t>(p[4]),
                                               static_cast<int16_t>(p[5]), static_cast<int16_t>(p[6]));
        default:
            storage.emplace<std::monostate>();
            return nullptr;
    }
}

bool Target::init(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind, uint16_t intervalMs) {
    release();
    if (!sprite_.InitAnimation(frames, x, y, true, true, false, frameMs, kAnimationPingPong, gfx::kKeyFromImage)) {
        gfx::FreeSpriteBackground(sprite_);
        return false;
    }
    width_ = static_cast<int32_t>(sprite_.width);
    height_ = static_cast<int32_t>(sprite_.height);
    keyColor_ = sprite_.key;
    finished_ = false;
    kind_ = kind;
    interval_ = intervalMs;
    lastMove_ = plat::GetTickCount();
    return true;
}

void Target::setPath(int32_t variant, const PathParams& params) { path_ = CreateFlightPath(pathStorage_, variant, params); }

void Target::update(gfx::LayerManager& scene) {
    const uint32_t now = plat::GetTickCount();
    if (path_ == nullptr) return;
    if (path_->isFinished()) {
        finished_ = true;
        return;
    }
    if (now - lastMove_ > interval_) {
        lastMove_ = now;
        const gfx::Point at = path_->next();
        sprite_.x = at.x;
        sprite_.y = at.y;
        scene.MarkSpriteDirty(sprite_);
    }
}

HitTestResult Target::hitTest(int32_t px, int32_t py, int32_t scrollX, int32_t scrollY) const {
    const int32_t left = sprite_.x - scrollX;
    const int32_t top = sprite_.y - scrollY;
    if (px < left || px >= left + width_ || py < top || py >= top + height_) return kHitOutside;
    const gfx::Picture* frame = sprite_.image;
    if (frame == nullptr || frame->surface == nullptr) return kHitTransparent;  // an empty frame set
    return frame->surface->At(px - left, py - top) == keyColor_ ? kHitTransparent : kHitOpaque;
}

void Target::release() {
    pathStorage_.emplace<std::monostate>();
    path_ = nullptr;
    gfx::FreeSpriteBackground(sprite_);
}
