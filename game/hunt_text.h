// A number on the hunt screen (the score, the clock): a text field in the
// hunt's font that stays in its place on the screen while the world scrolls.
#pragma once

#include <cstdint>

#include "graphics/scene.h"
#include "graphics/strip_font.h"
#include "widgets/text_field.h"

class HuntText {
public:
    static constexpr uint8_t kLayer = 220;

    HuntText() = default;
    virtual ~HuntText() = default;
    HuntText(const HuntText&) = delete;
    HuntText& operator=(const HuntText&) = delete;

    // Loads the font and puts the field showing `text` at screen (x, y).
    // False when the font cannot be loaded; nothing is shown then.
    bool init(int32_t x, int32_t y, uint8_t maxLength, const char* text, gfx::Scene* scene);
    void setText(const char* text);
    // Back to its place on the screen after a scroll.
    void reposition();
    void hide();
    void show(const char* text);
    // Out of the scene and freed; a part already missing is reported, as
    // releasing twice is a mistake of the caller.
    void release();

    const TextField* field() const { return m_editField; }

private:
    // Point at font_ and field_ while they are loaded, null otherwise: a new
    // hunt's texts reuse them rather than reach the heap.
    StripFont* m_font = nullptr;
    TextField* m_editField = nullptr;
    StripFont font_;
    TextField field_;
    gfx::Scene* scene_ = nullptr;
    int32_t x_ = 0;
    int32_t y_ = 0;
};
