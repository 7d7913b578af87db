// Something that moves across the hunting ground: an animated sprite, the
// path that hands it its next position, a kind and a step interval. Targets
// live in their owners' fixed pools and are set up again for each launch.
#pragma once

#include <cstdint>
#include <variant>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "game/flight_path.h"
#include "game/line_path.h"
#include "game/slide_path.h"
#include "game/zigzag_path.h"
#include "graphics/layer_manager.h"

// Room for any one path, so that giving a Target a path never allocates.
using FlightPathStorage = std::variant<std::monostate, LinePath, ZigzagPath, SlidePath>;

// Builds the path of `variant` into `storage`; null (no path) for a variant
// number that names none.
FlightPath* CreateFlightPath(FlightPathStorage& storage, int32_t variant, const PathParams& params);

enum HitTestResult : int32_t {
    kHitOutside = 0,
    kHitOpaque = 1,       // on the bird itself
    kHitTransparent = 2,  // inside the box, on the key colour
};

class Target {
public:
    Target() = default;
    virtual ~Target() = default;
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    // A moving, keyed, ping-pong sprite on `frames` at world (x, y); false
    // when the sprite cannot be made, and the Target must not be used.
    bool init(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind, uint16_t intervalMs);
    void setPath(int32_t variant, const PathParams& params);
    // Once per event: marks it finished when the path has ended, otherwise
    // moves it along the path when its interval has passed.
    void update(gfx::LayerManager& scene);
    // A tap in screen coordinates against the current frame.
    HitTestResult hitTest(int32_t px, int32_t py, int32_t scrollX, int32_t scrollY) const;
    // Drops the path and the sprite's buffers; the owner has taken the sprite
    // out of the scene first.
    void release();

    AnimatedSprite& sprite() { return sprite_; }
    const AnimatedSprite& sprite() const { return sprite_; }
    uint8_t kind() const { return kind_; }
    bool finished() const { return finished_; }
    void clearFinished() { finished_ = false; }

private:
    AnimatedSprite sprite_;
    FlightPathStorage pathStorage_;
    FlightPath* path_ = nullptr;
    uint32_t lastMove_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint16_t interval_ = 0;
    gfx::Colour keyColor_ = 0;
    uint8_t kind_ = 0;
    bool finished_ = false;
};
