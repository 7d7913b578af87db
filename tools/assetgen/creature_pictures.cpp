// The moving targets of the hunt: mallards, the swimming duck, red birds,
// the decoy and the cardboard sign ducks.
#include <cmath>
#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/creatures.h"
#include "tools/assetgen/paint.h"

namespace assetgen {

namespace {

// Eight frames from wings up to wings down; played forward then backward
// they make one full beat.
void AddDuckCycle(PictureList& out, uint16_t firstId, int size, bool facingRight) {
    for (int f = 0; f < 8; ++f) {
        Canvas c(size, size);
        PlaceUnitBox(c.cr(), 0, 0, size, facingRight);
        DrawDuck(c.cr(), DuckPose::Flying, f / 7.0);
        out.push_back(MakeKeyed(static_cast<uint16_t>(firstId + f), c, pal::kKey));
    }
}

void AddFallingDuck(PictureList& out, uint16_t id, int storedW, int storedH) {
    Canvas c(storedH, storedW);
    PlaceUnitBox(c.cr(), (storedH - storedW) / 2.0, 0, storedW, false);
    DrawDuck(c.cr(), DuckPose::Falling, 0.7);
    out.push_back(MakeKeyed(id, c, pal::kKey));
}

void AddSwimmer(PictureList& out, uint16_t id, bool facingRight) {
    Canvas c(32, 36);
    cairo_save(c.cr());
    PlaceUnitBox(c.cr(), 0, 2, 32, facingRight);
    DrawDuck(c.cr(), DuckPose::Swimming, 0);
    cairo_restore(c.cr());
    // Water closes over the lower body, with a bow wave ahead.
    cairo_rectangle(c.cr(), 0, 20, 32, 16);
    SetColour(c.cr(), pal::kWaterTop);
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_ATOP);
    cairo_fill(c.cr());
    cairo_set_operator(c.cr(), CAIRO_OPERATOR_OVER);
    for (int i = 0; i < 3; ++i) {
        const double y = 22 + i * 2.5;
        cairo_move_to(c.cr(), facingRight ? 6 - i * 2 : 4 + i * 2, y);
        cairo_line_to(c.cr(), facingRight ? 28 + i * 2 : 26 - i * 2, y);
        SetColour(c.cr(), pal::kRipple);
        cairo_set_line_width(c.cr(), 1.2);
        cairo_stroke(c.cr());
    }
    out.push_back(MakeKeyed(id, c, pal::kKey));
}

void AddRedBirds(PictureList& out, uint16_t firstId, bool facingRight) {
    for (int f = 0; f < 5; ++f) {
        Canvas c(26, 18);
        PlaceUnitBox(c.cr(), 0, -4, 26, facingRight);
        DrawRedBird(c.cr(), 0.3 + 0.1 * f, false);
        out.push_back(MakeKeyed(static_cast<uint16_t>(firstId + f), c, pal::kKey));
    }
}

// A cardboard duck on a stick rising from the bottom edge (80 x 108 as seen).
void DrawSign(cairo_t* cr, int variant) {
    cairo_rectangle(cr, 37, 56, 6, 52);
    VerticalGradient(cr, 56, pal::kWoodLight, 108, pal::kWoodDark);
    cairo_fill(cr);
    cairo_save(cr);
    PlaceUnitBox(cr, 0, 0, 80, variant == 1);
    // Flat silhouette of a sitting duck.
    cairo_move_to(cr, 8, 44);
    cairo_curve_to(cr, 10, 24, 38, 18, 40, 34);
    cairo_curve_to(cr, 56, 30, 86, 30, 96, 40);
    cairo_curve_to(cr, 96, 60, 84, 76, 50, 76);
    cairo_curve_to(cr, 24, 76, 14, 66, 20, 52);
    cairo_line_to(cr, 4, 50);
    cairo_close_path(cr);
    SetColour(cr, pal::kCardboard);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kCardboardDark);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    Ellipse(cr, 26, 36, 3, 3);
    SetColour(cr, pal::kInk);
    cairo_fill(cr);
    cairo_restore(cr);
    // Painted target face on the body.
    const Rgb rings[] = {pal::kTarget, pal::kCream, pal::kTarget};
    for (int r = 0; r < 3; ++r) {
        Ellipse(cr, 44, 47, 14 - r * 4.5, 11 - r * 3.5);
        SetColour(cr, rings[r]);
        cairo_fill(cr);
    }
    if (variant == 2) {
        TextStyle s;
        s.size = 11;
        s.colour = pal::kCream;
        s.outline = 1.2;
        s.rim = pal::kInk;
        DrawText(cr, "+50", 44, 51, s);
    }
}

// The first sign splitting into cardboard chunks that fly apart and drop.
void DrawSignBurst(cairo_t* cr, int frame) {
    const double t = (frame + 1) / 6.0;
    Noise n(31);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const double cx = 14 + col * 26, cy = 22 + row * 20;
            const double dx = (col - 1) * 22 * t + n.Range(-6, 6) * t;
            const double dy = (row - 1.5) * 14 * t + 40 * t * t;
            cairo_save(cr);
            cairo_translate(cr, cx + dx, cy + dy);
            cairo_rotate(cr, n.Range(-2.5, 2.5) * t);
            cairo_translate(cr, -cx, -cy);
            cairo_rectangle(cr, cx - 13, cy - 10, 26, 20);
            cairo_clip(cr);
            DrawSign(cr, 0);
            cairo_restore(cr);
        }
    }
}

}  // namespace

void AddCreatures(PictureList& out) {
    AddDuckCycle(out, 163, 68, false);
    AddDuckCycle(out, 192, 68, true);
    AddDuckCycle(out, 200, 48, true);
    AddDuckCycle(out, 208, 48, false);
    AddFallingDuck(out, 253, 62, 68);
    AddFallingDuck(out, 254, 32, 34);

    Canvas decoy(38, 28);
    PlaceUnitBox(decoy.cr(), 0, -3, 38, false);
    DrawDecoy(decoy.cr());
    out.push_back(MakeKeyed(303, decoy, pal::kKey));

    for (int v = 0; v < 3; ++v) {
        Canvas sign(80, 108);
        DrawSign(sign.cr(), v);
        out.push_back(MakeKeyed(static_cast<uint16_t>(304 + v), sign, pal::kKey));
    }
    for (int f = 0; f < 6; ++f) {
        Canvas burst(80, 108);
        DrawSignBurst(burst.cr(), f);
        out.push_back(MakeKeyed(static_cast<uint16_t>(307 + f), burst, pal::kKey));
    }
    AddSwimmer(out, 328, false);
    AddSwimmer(out, 329, true);
    AddRedBirds(out, 330, false);
    AddRedBirds(out, 335, true);

    Canvas fall(38, 30);
    PlaceUnitBox(fall.cr(), 4, -2, 30, false);
    DrawRedBird(fall.cr(), 0.2, true);
    out.push_back(MakeKeyed(340, fall, pal::kKey));
}

}  // namespace assetgen
