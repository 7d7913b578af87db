// The score of the hunt, shown as a number that rolls towards the total one
// unit per event.
#pragma once

#include <cstdint>

#include "game/hunt_text.h"
#include "graphics/scene.h"

class ScoreBoard {
public:
    static constexpr uint8_t kDigits = 7;

    ScoreBoard() = default;
    virtual ~ScoreBoard() = default;
    ScoreBoard(const ScoreBoard&) = delete;
    ScoreBoard& operator=(const ScoreBoard&) = delete;

    // Score 0, shown at screen (x, y). False when the font cannot be loaded.
    bool init(int16_t x, int16_t y, gfx::Scene* scene);
    // The display first jumps to the total before this addition, then rolls
    // from there. The score never goes below 0.
    void add(int32_t points);
    // One unit of the roll; called once per event.
    void tick();
    void reposition() { text_.reposition(); }
    void hide() { text_.hide(); }
    void show();
    void release() { text_.release(); }

    int32_t score() const { return score_; }
    int32_t shown() const { return shown_; }
    const TextField* field() const { return text_.field(); }

private:
    void showNumber();

    HuntText text_;
    int32_t score_ = 0;
    int32_t shown_ = 0;
    int8_t step_ = 1;
};
