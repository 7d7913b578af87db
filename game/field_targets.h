// Everything in the hunt that is not a flock duck: drifting leaves (a point,
// a change of the hunt time or a call for a formation), sign ducks sliding in
// from the edge, red birds and a decoy that must be spared. It also shows
// where one was hit and a pop-up of what the hit was worth.
#pragma once

#include <cstdint>

#include "app/frame_set.h"
#include "app/input_event.h"
#include "game/game_random.h"
#include "game/hit_animation.h"
#include "game/slot_table.h"
#include "game/target.h"
#include "graphics/picture.h"
#include "graphics/scene.h"
#include "graphics/sprite.h"

struct ShotResult {
    int32_t kind;
    int16_t value;
};

enum ShotResultKind : int32_t {
    kShotNothing = 0,
    kShotPoints = 1,     // value: points
    kShotTime = 2,       // value: seconds
    kShotFormation = 3,  // call the flock's formation
};

enum FieldKind : uint8_t {
    kFieldLeaf = 1,
    kFieldSign = 5,
    kFieldRedBird = 6,
    kFieldDecoy = 7,
};

class FieldTargets {
public:
    static constexpr int kSlots = 10;
    static constexpr int kAnimations = 10;
    static constexpr int32_t kMissingFrames = 34306;

    FieldTargets() = default;
    virtual ~FieldTargets() = default;
    FieldTargets(const FieldTargets&) = delete;
    FieldTargets& operator=(const FieldTargets&) = delete;

    // Its own generator, from the clock; once at start-up.
    void seed() { random_.seed(); }
    int32_t init(gfx::Scene* scene);
    // 34306 when there was nothing loaded to free (no init since the last
    // release).
    int32_t release();
    // A shot is a pen-down while the gun is loaded.
    ShotResult processEvent(const InputEvent& event, bool gunLoaded);
    void hide();
    void show();

    GameRandom& random() { return random_; }
    uint8_t count() const { return targets_.count(); }
    const Target& at(int i) const { return targets_[i]; }
    // Null when the decoy could not be made.
    const Target* decoy() const { return hasDecoy_ ? &targets_[0] : nullptr; }
    uint8_t animationCount() const { return animations_.count(); }
    const HitAnimation& animation(int i) const { return animations_[i]; }
    const gfx::Sprite* popup() const { return popupShown_ ? &popup_ : nullptr; }

private:
    enum Popup : uint8_t { kPopupTimeBonus, kPopupSign, kPopupPoint, kPopupFormation, kPopupTimePenalty,
                           kPopupPenalty, kPopupCount };

    // Every target, animation and the pop-up out of the scene and freed.
    void clear();
    void removePopup();
    Target* add(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind, int32_t variant,
                const PathParams& path, uint8_t layer);
    void startAnimation(uint8_t kind, int32_t x, int32_t y);
    ShotResult hitResult(uint8_t kind, int32_t x, int32_t y);
    void showPopup(Popup which, int32_t x, int32_t y, int16_t timer);
    void launch();
    void launchSign();
    void launchRedBird();
    void launchLeaf();
    bool specialEffects() const;

    SlotTable<Target, kSlots> targets_;  // slot 0: the decoy, when there is one
    SlotTable<HitAnimation, kAnimations> animations_;
    bool hasDecoy_ = false;
    bool signActive_ = false;
    bool loaded_ = false;
    gfx::Sprite popup_;
    bool popupShown_ = false;
    int16_t popupTimer_ = 0;
    uint16_t formationCooldown_ = 0;
    gfx::Scene* scene_ = nullptr;
    GameRandom random_;

    FrameSet leaves_;
    FrameSet leafBurst_;
    FrameSet signDucks_[3];
    FrameSet signBurst_;
    FrameSet redBirdDown_;
    FrameSet redBirdUp_;
    FrameSet redBirdFall_;
    FrameSet decoyFrames_;
    gfx::PictureHolder popups_[kPopupCount];
};
