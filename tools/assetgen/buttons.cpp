#include "tools/assetgen/buttons.h"

#include <algorithm>
#include <cmath>

#include "tools/assetgen/paint.h"

namespace assetgen {

Rect SeenRect(int px, int py, int storedW, int storedH) { return {320 - py - storedH, px, storedH, storedW}; }

namespace {

void DrawGlyph(cairo_t* cr, Glyph glyph, double cx, double cy, double s, Rgb colour) {
    cairo_new_path(cr);
    switch (glyph) {
    case Glyph::ArrowUp:
    case Glyph::ArrowDown: {
        const double d = glyph == Glyph::ArrowUp ? -1 : 1;
        cairo_move_to(cr, cx - s, cy - d * s * 0.5);
        cairo_line_to(cr, cx + s, cy - d * s * 0.5);
        cairo_line_to(cr, cx, cy + d * s * 0.7);
        cairo_close_path(cr);
        break;
    }
    case Glyph::Backspace:
        cairo_move_to(cr, cx - s, cy);
        cairo_line_to(cr, cx - s * 0.2, cy - s * 0.6);
        cairo_line_to(cr, cx + s, cy - s * 0.6);
        cairo_line_to(cr, cx + s, cy + s * 0.6);
        cairo_line_to(cr, cx - s * 0.2, cy + s * 0.6);
        cairo_close_path(cr);
        break;
    case Glyph::Space:
        cairo_rectangle(cr, cx - s, cy + s * 0.1, s * 2, s * 0.4);
        cairo_rectangle(cr, cx - s, cy - s * 0.4, s * 0.3, s * 0.6);
        cairo_rectangle(cr, cx + s * 0.7, cy - s * 0.4, s * 0.3, s * 0.6);
        break;
    case Glyph::None:
        return;
    }
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 2.4);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

}  // namespace

void DrawButton(cairo_t* cr, const Rect& r, const std::string& caption, bool pressed, Glyph glyph) {
    cairo_save(cr);
    const double inset = 1, radius = std::min(6.0, r.h / 4.0);
    const double shift = pressed ? 1.5 : 0;
    const double x = r.x + inset + shift, y = r.y + inset + shift;
    const double w = r.w - 2 * inset - 2, h = r.h - 2 * inset - 2;
    if (!pressed) {
        RoundedRect(cr, x + 2, y + 2, w, h, radius);
        SetColour(cr, pal::kBlack, 0.45);
        cairo_fill(cr);
    }
    RoundedRect(cr, x, y, w, h, radius);
    VerticalGradient(cr, y, pressed ? pal::kWood : pal::kWoodLight, y + h, pressed ? pal::kWoodDark : pal::kWood);
    cairo_fill_preserve(cr);
    cairo_clip_preserve(cr);
    // Grain, then the light or shadow edge that tells raised from sunk.
    Noise n(static_cast<unsigned>(r.w * 31 + r.h));
    for (double gy = y + 3; gy < y + h - 2; gy += n.Range(3, 6)) {
        cairo_move_to(cr, x, gy);
        cairo_curve_to(cr, x + w / 3, gy + n.Range(-1, 1), x + 2 * w / 3, gy + n.Range(-1, 1), x + w, gy);
        SetColour(cr, pal::kWoodDark, 0.25);
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, x, y, w, 2.5);
    SetColour(cr, pressed ? pal::kBlack : pal::kCream, pressed ? 0.45 : 0.35);
    cairo_fill(cr);
    cairo_reset_clip(cr);
    RoundedRect(cr, x, y, w, h, radius);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    const Rgb text = pressed ? pal::kGold : pal::kCream;
    if (glyph != Glyph::None) {
        DrawGlyph(cr, glyph, x + w / 2, y + h / 2, std::min(w, h) * 0.3, text);
    } else {
        TextStyle s;
        s.size = std::min(h * 0.55, 15.0);
        s.colour = text;
        s.outline = 1.4;
        s.rim = pal::kInk;
        DrawTextFitted(cr, caption, x + w / 2, y + h / 2 + s.size * 0.36, w - 8, s);
    }
    cairo_restore(cr);
}

Picture Cut(uint16_t id, const Canvas& from, const Rect& r) {
    Canvas c(r.w, r.h);
    c.CopyFrom(from, r.x, r.y);
    return MakeOpaque(id, c);
}

Picture ButtonPicture(uint16_t id, const Canvas& backdrop, const Rect& r, const std::string& caption, bool pressed,
                      Glyph glyph) {
    Canvas c(r.w, r.h);
    c.CopyFrom(backdrop, r.x, r.y);
    DrawButton(c.cr(), {0, 0, r.w, r.h}, caption, pressed, glyph);
    return MakeOpaque(id, c);
}

void AddButtonPair(PictureList& out, uint16_t firstId, const Canvas& backdrop, const Rect& r,
                   const std::string& caption, Glyph glyph) {
    out.push_back(ButtonPicture(firstId, backdrop, r, caption, false, glyph));
    out.push_back(ButtonPicture(static_cast<uint16_t>(firstId + 1), backdrop, r, caption, true, glyph));
}

}  // namespace assetgen
