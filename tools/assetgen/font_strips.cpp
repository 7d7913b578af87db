#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/fonts.h"
#include "tools/assetgen/paint.h"

namespace assetgen {

namespace {

constexpr Rgb kMarker = Hex(0xFF00FF);

}  // namespace

std::string_view GlyphCharacters(const StripFontInfo& font) {
    return font.id == kMenuFont.id ? "0123456789:;.%'()ABCDEFGHIJKLMNOPQRSTUVWXYZ " :
                                     "0123456789:;.,'()ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
}

namespace {

TextStyle GlyphStyle(double size) {
    TextStyle style;
    style.size = size;
    style.colour = pal::kCream;
    style.outline = 1.3;
    style.rim = pal::kInk;
    style.align = Align::Left;
    return style;
}

// Where each glyph ends along the strip.
std::vector<int> GlyphEnds(cairo_t* cr, const StripFontInfo& font, const TextStyle& style) {
    std::vector<int> ends;
    int pos = 0;
    for (char ch : GlyphCharacters(font)) {
        pos += ch == ' ' ? font.height / 3
                         : static_cast<int>(std::ceil(TextWidth(cr, std::string(1, ch), style))) + 2;
        ends.push_back(pos);
    }
    return ends;
}

// Draws the glyphs at the largest size that fits, leaving the strip's first
// stored pixel (the key) in the unclosed tail.
Picture BuildStrip(const StripFontInfo& font, double size) {
    Canvas c(font.length, font.height);
    cairo_t* cr = c.cr();
    TextStyle style = GlyphStyle(size);
    std::vector<int> ends = GlyphEnds(cr, font, style);
    while (ends.back() > font.length - 2 && style.size > 6) {
        style.size -= 0.5;
        ends = GlyphEnds(cr, font, style);
    }
    // Column 0 as stored (the top row as seen) carries only the markers.
    cairo_rectangle(cr, 0, 1, font.length, font.height - 1);
    cairo_clip(cr);
    const double baseline = 1 + (font.height - 1) * 0.5 + style.size * 0.36;
    const std::string_view glyphs = GlyphCharacters(font);
    for (size_t g = 0; g < glyphs.size(); ++g) {
        const int start = g == 0 ? 0 : ends[g - 1];
        if (glyphs[g] != ' ') DrawText(cr, std::string(1, glyphs[g]), start + 1.5, baseline, style);
    }
    Picture p = MakeKeyed(font.id, c, pal::kKey);
    // The marker reference, then one marker where each glyph ends:
    // stored row = length - 1 - position.
    const uint16_t marker = To565(kMarker);
    auto mark = [&](int position) {
        const auto i = static_cast<size_t>((font.length - 1 - position) * p.width);
        p.pixels[i] = marker;
        p.opaque[i] = 1;
    };
    mark(1);
    for (int e : ends) mark(e);
    return p;
}

}  // namespace

void AddFonts(PictureList& out) {
    out.push_back(BuildStrip(kHuntFont, 19));
    out.push_back(BuildStrip(kMenuFont, 15));
}

}  // namespace assetgen
