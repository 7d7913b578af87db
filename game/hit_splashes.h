// A shot duck falling away, with the points it earned drifting the other way
// as a small number. Picture and number leave together.
#pragma once

#include <cstdint>
#include <optional>

#include "app/animated_sprite.h"
#include "app/frame_set.h"
#include "game/line_path.h"
#include "game/slot_table.h"
#include "graphics/scene.h"
#include "graphics/strip_font.h"
#include "widgets/text_field.h"

class HitSplashes {
public:
    static constexpr uint8_t kMaxSplashes = 35;
    static constexpr uint32_t kStepMs = 50;
    static constexpr uint8_t kLabelLayer = 244;
    // release() of splashes that were never set up, or twice.
    static constexpr int kAlreadyReleased = 0x8602;

    // One dead duck and its label.
    struct Splash {
        AnimatedSprite faller;
        std::optional<LinePath> fall;
        uint32_t fallTick = 0;
        TextField label;
        std::optional<LinePath> rise;
        uint32_t riseTick = 0;
    };

    HitSplashes() = default;
    virtual ~HitSplashes() = default;
    HitSplashes(const HitSplashes&) = delete;
    HitSplashes& operator=(const HitSplashes&) = delete;

    // The labels are drawn with `font`, which the caller keeps alive.
    int init(gfx::Scene* scene, const StripFont* font);
    // A duck of this kind (big below 3) shot at world (x, y) for `points`.
    void show(int32_t x, int32_t y, uint8_t duckKind, int32_t points);
    // Moves every splash on; a pair leaves once either of its paths ends.
    void update();
    // Out of the scene and back, around the screens the pause menu opens.
    void hide();
    void show();
    int release();

    uint8_t count() const { return splashes_.count(); }
    const Splash& at(uint8_t i) const { return splashes_[i]; }

private:
    // Both sprites out of the scene (the faller out of the animation list
    // too) and freed.
    void drop(Splash& s);

    SlotTable<Splash, kMaxSplashes> splashes_;
    FrameSet bigDead_;
    FrameSet smallDead_;
    gfx::Scene* scene_ = nullptr;
    const StripFont* font_ = nullptr;
    bool loaded_ = false;
};
