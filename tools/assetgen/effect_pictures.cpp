// The hunt's small pictures: the shell strip, clock, shot puffs, feather
// bursts, tumbling leaves and the score pop-ups. Pop-ups and bursts show at
// half strength over the scene, so they are drawn bright.
#include <algorithm>
#include <cmath>
#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/paint.h"

namespace assetgen {

namespace {

// Seven shells in a leather belt (96 x 26 as seen); the left ones go first.
void DrawShellStrip(cairo_t* cr, int fired, bool reloadCue) {
    RoundedRect(cr, 1, 8, 94, 14, 4);
    VerticalGradient(cr, 8, pal::kWood, 22, pal::kWoodDark);
    cairo_fill(cr);
    for (int s = 0; s < 7; ++s) {
        const double x = 4 + s * 13;
        if (s < fired) {
            RoundedRect(cr, x + 1, 11, 8, 9, 2);
            SetColour(cr, pal::kInk);
            cairo_fill(cr);
            continue;
        }
        RoundedRect(cr, x, 1, 10, 17, 2.5);
        cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + 10, 0);
        cairo_pattern_add_color_stop_rgb(g, 0, pal::kShellRedDark.r, pal::kShellRedDark.g, pal::kShellRedDark.b);
        cairo_pattern_add_color_stop_rgb(g, 0.4, pal::kShellRed.r * 1.3, pal::kShellRed.g * 1.3, pal::kShellRed.b * 1.3);
        cairo_pattern_add_color_stop_rgb(g, 1, pal::kShellRedDark.r, pal::kShellRedDark.g, pal::kShellRedDark.b);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_rectangle(cr, x - 0.5, 17, 11, 7);
        VerticalGradient(cr, 17, pal::kBrass, 24, pal::kBrassDark);
        cairo_fill(cr);
    }
    if (reloadCue) {
        TextStyle t;
        t.size = 12;
        t.colour = pal::kGold;
        t.outline = 1.5;
        t.rim = pal::kShellRedDark;
        DrawText(cr, "RELOAD", 48, 19, t);
    }
}

void DrawClock(cairo_t* cr) {
    Ellipse(cr, 8, 8, 7.3, 7.3);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
    Ellipse(cr, 8, 8, 5.8, 5.8);
    SetColour(cr, pal::kCream);
    cairo_fill(cr);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 1.4);
    cairo_move_to(cr, 8, 8);
    cairo_line_to(cr, 8, 3.8);
    cairo_move_to(cr, 8, 8);
    cairo_line_to(cr, 11, 9.5);
    cairo_stroke(cr);
}

// A muzzle flash that turns into a spreading smoke puff around (cx, cy).
void DrawPuff(cairo_t* cr, int frame, double cx, double cy) {
    Noise n(5);
    const double t = frame / 4.0;
    if (frame == 0) {
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            cairo_move_to(cr, cx, cy);
            cairo_line_to(cr, cx + std::cos(a - 0.2) * 5, cy + std::sin(a - 0.2) * 5);
            cairo_line_to(cr, cx + std::cos(a) * 13, cy + std::sin(a) * 13);
            cairo_line_to(cr, cx + std::cos(a + 0.2) * 5, cy + std::sin(a + 0.2) * 5);
            cairo_close_path(cr);
        }
        SetColour(cr, pal::kGold);
        cairo_fill(cr);
        Ellipse(cr, cx, cy, 5, 5);
        SetColour(cr, pal::kWhite);
        cairo_fill(cr);
        return;
    }
    for (int i = 0; i < 7; ++i) {
        const double a = n.Range(0, 2 * M_PI), d = n.Range(2, 9) * (0.5 + t);
        const double r = n.Range(4, 7) * (0.6 + 0.6 * t);
        Ellipse(cr, cx + std::cos(a) * d, cy + std::sin(a) * d - 3 * t, r, r * 0.85);
        SetColour(cr, Mix(pal::kWhite, pal::kStone, t * 0.6), 1.0 - 0.25 * t);
        cairo_fill(cr);
    }
}

void Feather(cairo_t* cr, double x, double y, double len, double angle, Rgb c) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, angle);
    Ellipse(cr, 0, 0, len / 2, len / 3.5);
    SetColour(cr, c);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kInk, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_move_to(cr, -len / 2, 0);
    cairo_line_to(cr, len / 2, 0);
    SetColour(cr, pal::kWhite);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// Feathers flung outwards from the middle of a w x h area, drifting down.
void DrawFeatherBurst(cairo_t* cr, int frame, double w, double h) {
    Noise n(17);
    const double t = (frame + 1) / 7.0;
    const Rgb colours[] = {pal::kDuckBody, pal::kDuckWing, pal::kCream, pal::kDuckBreast, pal::kDuckHeadShine};
    const double scale = std::max(w / 120.0, 0.55);
    for (int i = 0; i < 16; ++i) {
        const double a = n.Range(0, 2 * M_PI), speed = n.Range(0.5, 1.0);
        const double x = w / 2 + std::cos(a) * speed * t * w * 0.42;
        const double y = h / 2 + std::sin(a) * speed * t * h * 0.3 + t * t * h * 0.18;
        Feather(cr, x, y, n.Range(14, 22) * scale, a + t * n.Range(-3, 3), Mix(colours[i % 5], pal::kWhite, 0.1));
    }
}

void LeafShape(cairo_t* cr, double length, Rgb fill) {
    cairo_move_to(cr, -length / 2, 0);
    cairo_curve_to(cr, -length / 4, -length / 3, length / 4, -length / 3, length / 2, 0);
    cairo_curve_to(cr, length / 4, length / 3, -length / 4, length / 3, -length / 2, 0);
    cairo_close_path(cr);
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kAutumn2);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, -length / 2 - 2, 0);
    cairo_line_to(cr, length / 2, 0);
    cairo_stroke(cr);
}

// Half a tumble over the twelve frames: turning and showing its edge.
void DrawLeaf(cairo_t* cr, int frame) {
    const double a = M_PI * frame / 11.0;
    cairo_save(cr);
    cairo_translate(cr, 11, 11);
    cairo_rotate(cr, a * 0.8);
    cairo_scale(cr, 1.0, 0.25 + 0.75 * std::abs(std::cos(a)));
    LeafShape(cr, 19, Mix(pal::kAutumn1, pal::kAutumn3, 0.5 + 0.5 * std::cos(a)));
    cairo_restore(cr);
}

void DrawLeafBurst(cairo_t* cr, int frame) {
    Noise n(23);
    const double t = (frame + 1) / 6.0;
    for (int i = 0; i < 6; ++i) {
        const double a = i * M_PI / 3 + n.Range(-0.3, 0.3);
        cairo_save(cr);
        cairo_translate(cr, 11 + std::cos(a) * 8 * t, 11 + std::sin(a) * 8 * t);
        cairo_rotate(cr, a + t * 2);
        LeafShape(cr, 8 - 3 * t, Mix(pal::kAutumn3, pal::kAutumn1, n.Next()));
        cairo_restore(cr);
    }
}

TextStyle PopStyle(double size, Rgb colour) {
    TextStyle s;
    s.size = size;
    s.colour = colour;
    s.outline = 1.6;
    s.rim = pal::kInk;
    return s;
}

void DrawFormationSign(cairo_t* cr) {
    // A V of five little birds.
    const double pts[5][2] = {{4, 7}, {8, 12}, {12, 17}, {16, 12}, {20, 7}};
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, 3.4);
    for (const auto& p : pts) {
        cairo_move_to(cr, p[0] - 3, p[1] - 2);
        cairo_line_to(cr, p[0], p[1]);
        cairo_line_to(cr, p[0] + 3, p[1] - 2);
    }
    cairo_stroke_preserve(cr);
    SetColour(cr, pal::kGold);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
}

template <typename Draw>
void Add(PictureList& out, uint16_t id, int w, int h, Draw draw) {
    Canvas c(w, h);
    draw(c.cr());
    out.push_back(MakeKeyed(id, c, pal::kKey));
}

}  // namespace

void AddEffects(PictureList& out) {
    for (int k = 0; k < 9; ++k)
        Add(out, static_cast<uint16_t>(244 + k), 96, 26, [k](cairo_t* cr) { DrawShellStrip(cr, std::min(k, 7), k == 8); });
    Add(out, 269, 16, 16, DrawClock);
    // The tap lands on stored pixel (14, 15): as seen, (24, 14).
    for (int f = 0; f < 5; ++f)
        Add(out, static_cast<uint16_t>(256 + f), 40, 34, [f](cairo_t* cr) { DrawPuff(cr, f, 24, 14); });
    for (int f = 0; f < 7; ++f) {
        Add(out, static_cast<uint16_t>(270 + f), 120, 70, [f](cairo_t* cr) { DrawFeatherBurst(cr, f, 120, 70); });
        Add(out, static_cast<uint16_t>(277 + f), 60, 36, [f](cairo_t* cr) { DrawFeatherBurst(cr, f, 60, 36); });
    }
    for (int f = 0; f < 12; ++f)
        Add(out, static_cast<uint16_t>(313 + f), 22, 22, [f](cairo_t* cr) { DrawLeaf(cr, f); });
    for (int f = 0; f < 6; ++f)
        Add(out, static_cast<uint16_t>(341 + f), 22, 22, [f](cairo_t* cr) { DrawLeafBurst(cr, f); });
    Add(out, 325, 24, 24, [](cairo_t* cr) {
        DrawText(cr, "+30", 12, 11, PopStyle(10, pal::kGood));
        DrawText(cr, "SEC", 12, 21, PopStyle(8, pal::kGood));
    });
    Add(out, 326, 24, 24, [](cairo_t* cr) {
        DrawText(cr, "-30", 12, 11, PopStyle(10, pal::kBad));
        DrawText(cr, "SEC", 12, 21, PopStyle(8, pal::kBad));
    });
    Add(out, 327, 24, 24, DrawFormationSign);
    Add(out, 347, 48, 20, [](cairo_t* cr) { DrawText(cr, "-50", 24, 16, PopStyle(16, pal::kBad)); });
    Add(out, 348, 22, 20, [](cairo_t* cr) { DrawText(cr, "+1", 11, 15, PopStyle(13, pal::kGold)); });
    Add(out, 349, 48, 20, [](cairo_t* cr) { DrawText(cr, "+50", 24, 16, PopStyle(16, pal::kGood)); });
}

}  // namespace assetgen
