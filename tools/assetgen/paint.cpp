#include "tools/assetgen/paint.h"

#include <fontconfig/fontconfig.h>

#include <cmath>

namespace assetgen {

void SetColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

void Fill(cairo_t* cr, Rgb c) {
    SetColour(cr, c);
    cairo_paint(cr);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
}

void VerticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(g, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(g, 1, bottom.r, bottom.g, bottom.b);
    cairo_set_source(cr, g);
    cairo_pattern_destroy(g);
}

void SelectFont(cairo_t* cr, Face face, bool bold, double size) {
    cairo_select_font_face(cr, face == Face::Serif ? "DejaVu Serif" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, o);
    cairo_font_options_destroy(o);
}

double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style) {
    SelectFont(cr, style.face, style.bold, style.size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& style) {
    cairo_save(cr);
    const double w = TextWidth(cr, text, style);
    double left = x;
    if (style.align == Align::Centre) left = x - w / 2;
    if (style.align == Align::Right) left = x - w;
    if (style.shadow > 0) {
        SetColour(cr, style.rim, 0.7);
        cairo_move_to(cr, left + style.shadow, y + style.shadow);
        cairo_show_text(cr, text.c_str());
    }
    cairo_move_to(cr, left, y);
    cairo_text_path(cr, text.c_str());
    if (style.outline > 0) {
        SetColour(cr, style.rim);
        cairo_set_line_width(cr, style.outline * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
    }
    SetColour(cr, style.colour);
    cairo_fill(cr);
    cairo_restore(cr);
}

void DrawTextFitted(cairo_t* cr, const std::string& text, double x, double y, double maxWidth, TextStyle style) {
    while (style.size > 6 && TextWidth(cr, text, style) > maxWidth) style.size -= 0.5;
    DrawText(cr, text, x, y, style);
}

void ReleaseFontCaches() {
    cairo_debug_reset_static_data();
    FcFini();
}

double Noise::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return (state_ & 0xFFFFFF) / static_cast<double>(0x1000000);
}

}  // namespace assetgen
