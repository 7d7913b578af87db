// A proportional font cut from one picture strip: the glyphs stand one after
// another along the strip, and marker pixels in its first column separate them.
#pragma once

#include <cstdint>

#include "graphics/picture.h"
#include "graphics/picture_pool.h"

class StripFont {
public:
    static constexpr int kMaxGlyphs = 100;

    // A glyph's span along the strip; position p is strip row length - 1 - p.
    struct Glyph {
        uint16_t start = 0;
        uint16_t width = 0;
    };

    StripFont() = default;
    virtual ~StripFont() { release(); }
    StripFont(const StripFont&) = delete;
    StripFont& operator=(const StripFont&) = delete;

    // Loads the strip `height` pixels across and `length` long and finds its
    // glyphs. 0 on success, -1 when the picture could not be made.
    int load(uint16_t pictureId, uint8_t height, int32_t length, uint16_t base);
    // `code` is the character minus the base, as an 8-bit value.
    Glyph glyph(uint8_t code) const;
    void release();

    const gfx::Picture& picture() const { return picture_ != nullptr ? *picture_ : kNoPicture; }
    int32_t length() const { return length_; }
    uint8_t height() const { return height_; }
    uint16_t base() const { return base_; }
    uint8_t lastGlyph() const { return lastGlyph_; }

private:
    void scan();

    static const gfx::Picture kNoPicture;
    // A pool slot: the scan writes into it, and a new hunt's fonts must not
    // reach the heap.
    gfx::Picture* picture_ = nullptr;
    int32_t length_ = 0;
    Glyph glyphs_[kMaxGlyphs] = {};
    uint8_t lastGlyph_ = 0;
    uint8_t height_ = 0;
    uint16_t base_ = 0;
};
