#include "widgets/text_field.h"

#include <cstring>

#include "graphics/picture_pool.h"

namespace {

// What a character draws with: a space takes the glyph past the last one,
// which the font's lookup turns into its last glyph (the blank).
uint8_t GlyphCode(const StripFont& font, char character) {
    if (character == ' ') return static_cast<uint8_t>(font.lastGlyph() + 6);
    return static_cast<uint8_t>(static_cast<uint8_t>(character) - font.base());
}

}  // namespace

void TextField::InitTextField(int32_t x, int32_t y, const StripFont* font, uint8_t maxLength, bool keyed, bool blend) {
    maxLength_ = maxLength;
    font_ = font;
    keyed_ = keyed;
    blend_ = blend;
    const gfx::Picture* strip = font != nullptr ? &font->picture() : nullptr;
    const bool hasPixel = strip != nullptr && strip->surface != nullptr && strip->width != 0 && strip->height != 0;
    key_ = hasPixel ? strip->surface->At(0, 0) : 0;
    sprite.x = x;
    sprite.y = y;
    SetText(" ");
}

void TextField::SetText(const char* text) {
    if (font_ == nullptr || text == nullptr) return;
    const auto n = static_cast<uint8_t>(std::strlen(text));
    if (n == 0) return;
    const uint8_t shown = n < maxLength_ ? n : maxLength_;

    int32_t total = 0;
    uint8_t count = 0;
    for (; count < shown; ++count) {
        const int32_t width = font_->glyph(GlyphCode(*font_, text[count])).width;
        if (total + width > UINT16_MAX) break;
        total += width;
    }

    // The same length reuses the picture (and the sprite's background buffer):
    // a rolling number then costs no allocation.
    if (picture_ == nullptr || picture_->height != total || picture_->width != font_->height()) {
        gfx::GivePicture(picture_);
        picture_ = gfx::TakePicture(font_->height(), static_cast<uint16_t>(total));
        if (picture_ == nullptr) {
            gfx::FreeSpriteBackground(sprite);
            return;
        }
        gfx::SetSpritePicture(sprite, picture_, sprite.x, sprite.y, true, keyed_, blend_, key_);
    }

    // The first character goes at the end of the picture and each following
    // one just before it, so the text runs the way the strip does.
    gfx::Surface* saved = gfx::GetRenderTarget();
    gfx::SetRenderTarget(picture_->surface);
    const int32_t stripLength = font_->length();
    int32_t end = total;
    for (uint8_t i = 0; i < count; ++i) {
        const StripFont::Glyph g = font_->glyph(GlyphCode(*font_, text[i]));
        const int32_t top = stripLength - g.start - g.width;
        end -= g.width;
        gfx::DrawPictureRegion(font_->picture(), 0, end, gfx::Rect{0, top, font_->height(), top + g.width});
    }
    gfx::SetRenderTarget(saved);
}

void TextField::SetTextAndMark(const char* text, gfx::LayerManager& scene) {
    SetText(text);
    scene.MarkSpriteDirty(sprite);
}

void TextField::ReleaseTextField() {
    gfx::FreeSpriteBackground(sprite);
    sprite.width = 0;
    sprite.height = 0;
    gfx::GivePicture(picture_);
    picture_ = nullptr;
}
