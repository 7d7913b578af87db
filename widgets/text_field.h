// A short string drawn with a strip font into a picture of its own, exactly
// as long as its glyphs, and shown through a moving sprite. Its owner puts the
// sprite on screen with AddSprite and moves it by writing x and y.
#pragma once

#include <cstdint>

#include "graphics/layer_manager.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"
#include "graphics/strip_font.h"

class TextField {
public:
    TextField() = default;
    virtual ~TextField() { ReleaseTextField(); }
    TextField(const TextField&) = delete;
    TextField& operator=(const TextField&) = delete;

    // The key is the strip's top-left pixel, its background. Shows a space.
    void InitTextField(int32_t x, int32_t y, const StripFont* font, uint8_t maxLength, bool keyed, bool blend);
    // An empty text keeps the text shown; a longer one is cut to maxLength.
    void SetText(const char* text);
    void SetTextAndMark(const char* text, gfx::LayerManager& scene);
    void ReleaseTextField();

    gfx::Sprite sprite;

private:
    const StripFont* font_ = nullptr;
    gfx::Picture* picture_ = nullptr;
    uint8_t maxLength_ = 0;
    bool keyed_ = false;
    bool blend_ = false;
    gfx::Colour key_ = 0;
};
