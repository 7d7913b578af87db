#include "graphics/strip_font.h"

namespace {

// Small letters follow the capitals directly in the strip: the six
// characters between Z and a have no glyphs of their own.
constexpr int kLowerFirst = 91;
constexpr int kLowerLast = 122;
constexpr uint8_t kLowerShift = 6;

// Punctuation below the base and the glyph each one draws with.
struct Punctuation {
    uint8_t code;
    uint8_t glyph;
};
constexpr Punctuation kPunctuation[] = {
    {0xFE, 12},  // full stop
    {0xFC, 13},  // comma
    {0xF7, 14},  // apostrophe
    {0xF8, 15},  // opening parenthesis
    {0xF9, 16},  // closing parenthesis
};

}  // namespace

const gfx::Picture StripFont::kNoPicture;

int StripFont::load(uint16_t pictureId, uint8_t height, int32_t length, uint16_t base) {
    release();
    height_ = height;
    base_ = base;
    length_ = length;
    for (Glyph& g : glyphs_) g = Glyph{};
    lastGlyph_ = 0;
    if (length <= 0 || length > UINT16_MAX || height == 0) return -1;
    picture_ = gfx::TakeLoadedPicture(pictureId, height, static_cast<uint16_t>(length));
    if (picture_ == nullptr || picture_->surface == nullptr || picture_->height != length || picture_->width != height) {
        release();
        return -1;
    }
    scan();
    return 0;
}

void StripFont::scan() {
    if (length_ < 2) return;
    gfx::Surface& strip = *picture_->surface;
    const gfx::Colour marker = strip.At(0, length_ - 2);
    const gfx::Colour background = strip.At(0, length_ - 1);
    strip.Row(length_ - 2)[0] = background;
    int n = 0;
    int32_t pos = 2;
    for (int32_t row = length_ - 3; row >= 0; --row, ++pos) {
        if (strip.At(0, row) != marker) continue;
        glyphs_[n].width = static_cast<uint16_t>(pos - glyphs_[n].start);
        ++n;
        if (n == kMaxGlyphs) break;
        glyphs_[n].start = static_cast<uint16_t>(pos);
        strip.Row(row)[0] = background;
    }
    // The glyph after the last marker is never closed. A strip without any
    // marker has no glyph at all: glyph 0 stays empty and answers everything.
    lastGlyph_ = static_cast<uint8_t>(n > 0 ? n - 1 : 0);
}

StripFont::Glyph StripFont::glyph(uint8_t code) const {
    const int character = code + base_;
    if (character >= kLowerFirst && character <= kLowerLast) code = static_cast<uint8_t>(code - kLowerShift);
    if (code < lastGlyph_) return glyphs_[code];
    for (const Punctuation& p : kPunctuation) {
        if (p.code == code) return glyphs_[p.glyph];
    }
    return glyphs_[lastGlyph_];
}

void StripFont::release() {
    gfx::GivePicture(picture_);
    picture_ = nullptr;
}
