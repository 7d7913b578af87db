// The hunt's time, counted down in whole seconds and shown as MM:SS, with the
// small clock icon in the screen corner.
#pragma once

#include <cstdint>

#include "game/hunt_text.h"
#include "graphics/picture.h"
#include "graphics/scene.h"
#include "graphics/sprite.h"

class HuntClock {
public:
    static constexpr uint32_t kSecondMs = 1000;
    static constexpr uint8_t kLayer = 220;

    HuntClock() = default;
    virtual ~HuntClock() = default;
    HuntClock(const HuntClock&) = delete;
    HuntClock& operator=(const HuntClock&) = delete;

    // Stopped, showing `seconds`, the text at screen (x, y). False when the
    // font cannot be loaded.
    bool init(int32_t x, int32_t y, uint32_t seconds, gfx::Scene* scene);
    uint32_t start();
    uint32_t stop();
    // Counts a second once more than 1000 ms have passed since the last one,
    // at most one per call. Returns the seconds left; 0 ends the hunt.
    uint32_t tick();
    // A leaf's +30 or -30 s. The current second starts again; the text
    // follows at the next counted second.
    void addSeconds(int8_t delta);
    uint32_t reposition();
    // Stops the clock: the time in between is not counted.
    uint32_t hide();
    void show();
    void release();

    uint32_t seconds() const { return seconds_; }
    bool running() const { return running_; }
    const TextField* field() const { return text_.field(); }
    const gfx::Sprite& icon() const { return icon_; }

    // MM:SS, each part two digits at least.
    static void FormatTime(uint32_t seconds, char (&out)[8]);

private:
    void placeIcon();
    void showTime();

    HuntText text_;
    gfx::PictureHolder iconPicture_;
    gfx::Sprite icon_;
    gfx::Scene* scene_ = nullptr;
    uint32_t seconds_ = 0;
    uint32_t startSeconds_ = 0;
    uint32_t lastTick_ = 0;
    bool running_ = false;
};
