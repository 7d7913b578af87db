// The two strip fonts: glyphs side by side along one long picture, with the
// glyph boundaries marked in its first stored column.
#pragma once

#include <cstdint>
#include <string_view>

namespace assetgen {

struct StripFontInfo {
    uint16_t id;
    int height;  // stored width: the text height
    int length;  // stored height: the strip length
};

inline constexpr StripFontInfo kHuntFont{255, 22, 700};
inline constexpr StripFontInfo kMenuFont{503, 18, 554};

// The character each glyph shows, glyph 0 first. The last one is the blank
// that every unplaceable character (the space among them) falls back to.
// Glyph 13 is the comma in the hunt font and a percent sign in the menu font.
std::string_view GlyphCharacters(const StripFontInfo& font);

}  // namespace assetgen
