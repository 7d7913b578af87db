// Every duck of a hunt: launched at random moments, moved, shot or scared
// off by the player's taps, called in as a V of five, and the one swimming
// duck that shuttles along the far bank.
#pragma once

#include <cstdint>

#include "app/frame_set.h"
#include "app/input_event.h"
#include "game/slot_table.h"
#include "game/target.h"
#include "graphics/scene.h"

struct FlockResult {
    int32_t kind;
    int32_t x;
    int32_t y;
    uint8_t duckKind;
};

enum FlockResultKind : int32_t {
    kFlockNothing = 1,
    kFlockKilled = 2,     // at (x, y); duckKind 1, 2 big, 3, 4 small
    kFlockLaunched = 3,   // the last Target added
    kFlockScared = 4,     // its replacement
    kFlockFormation = 5,
    kFlockRefused = 6,    // the table is too full for five more
};

enum FlockMode : int32_t {
    kFlockUpdate = 0,
    kFlockSummon = 10,
};

enum DuckKind : uint8_t {
    kDuckBigDown = 1,
    kDuckBigUp = 2,
    kDuckSmallDown = 3,
    kDuckSmallUp = 4,
    kDuckSwimmer = 5,
};

class DuckFlock {
public:
    static constexpr int kSlots = 35;
    static constexpr int32_t kMissingFrames = 34306;

    DuckFlock() = default;
    virtual ~DuckFlock() = default;
    DuckFlock(const DuckFlock&) = delete;
    DuckFlock& operator=(const DuckFlock&) = delete;

    int32_t init(gfx::Scene* scene);
    // Every duck out of the scene and freed, the pictures freed; 34306 when
    // there was nothing loaded to free (no init since the last release).
    int32_t release();
    // Mode 0 once per event: a shot is a pen-down while the gun is loaded.
    // Mode 10 is summonFlock.
    FlockResult processEvent(const InputEvent& event, bool gunLoaded, int32_t mode);
    FlockResult summonFlock();
    void hide();
    void show();

    uint8_t count() const { return targets_.count(); }
    const Target& at(int i) const { return targets_[i]; }

private:
    // Sets up the next free Target; null when its sprite cannot be made.
    Target* add(int32_t x, int32_t y, const FrameSet& frames, int32_t frameMs, uint8_t kind, uint16_t intervalMs,
                int32_t variant, const PathParams& path, uint8_t layer);
    FlockResult scare(int32_t x, int32_t y, uint8_t kind);
    void launchDuck();
    void launchSwimmer();
    void turnBack(Target& swimmer);
    bool launchFormation();

    SlotTable<Target, kSlots> targets_;
    uint8_t swimmers_ = 0;
    bool loaded_ = false;
    FrameSet smallDown_;
    FrameSet smallUp_;
    FrameSet bigDown_;
    FrameSet bigUp_;
    FrameSet swimOut_;
    FrameSet swimBack_;
    gfx::Scene* scene_ = nullptr;
};
