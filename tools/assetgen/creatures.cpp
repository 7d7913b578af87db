#include "tools/assetgen/creatures.h"

#include <cmath>

#include "tools/assetgen/paint.h"

namespace assetgen {

void PlaceUnitBox(cairo_t* cr, double x, double y, double size, bool facingRight) {
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / 100.0, size / 100.0);
    if (facingRight) {
        cairo_translate(cr, 100, 0);
        cairo_scale(cr, -1, 1);
    }
}

namespace {

// One wing seen from the side: root along the back, tip swinging from above
// the body (phase 0) to below it (phase 1).
void Wing(cairo_t* cr, double phase, double reach, Rgb fill, Rgb edge, bool speculum) {
    const double a = M_PI * phase;
    const double tipY = 47 - reach * std::cos(a);
    const double tipX = 70 + 10 * std::sin(a);
    const double midY = 47 + (tipY - 47) * 0.55;
    cairo_move_to(cr, 42, 47);
    cairo_curve_to(cr, 44, midY, tipX - 16, tipY, tipX, tipY);
    cairo_curve_to(cr, tipX + 2, midY, 66, 48, 64, 47);
    cairo_close_path(cr);
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, edge);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    // Primary feathers: darker near the tip.
    cairo_move_to(cr, tipX, tipY);
    cairo_line_to(cr, 48 + (tipX - 48) * 0.55, 47 + (tipY - 47) * 0.55);
    cairo_set_line_width(cr, 3.2);
    SetColour(cr, edge);
    cairo_stroke(cr);
    if (speculum) {
        const double sy = 47 + (tipY - 47) * 0.22;
        Ellipse(cr, 53, sy, 6, 3.2 + 2 * std::abs(std::cos(a)));
        SetColour(cr, pal::kDuckSpeculum);
        cairo_fill(cr);
    }
}

void DuckBody(cairo_t* cr, bool swimming) {
    // Tail
    cairo_move_to(cr, 74, 46);
    cairo_line_to(cr, 90, 44);
    cairo_line_to(cr, 88, 54);
    cairo_line_to(cr, 74, 57);
    cairo_close_path(cr);
    SetColour(cr, pal::kDuckTail);
    cairo_fill(cr);
    // Body
    Ellipse(cr, 55, 51, 23, swimming ? 13 : 11);
    VerticalGradient(cr, 40, pal::kDuckBody, 63, pal::kDuckBodyDark);
    cairo_fill(cr);
    // Breast
    Ellipse(cr, 38, 52, 10, 9);
    SetColour(cr, pal::kDuckBreast);
    cairo_fill(cr);
    // Neck and head
    cairo_move_to(cr, 30, 47);
    cairo_curve_to(cr, 26, 44, 24, 40, 25, 36);
    cairo_line_to(cr, 34, 40);
    cairo_close_path(cr);
    SetColour(cr, pal::kDuckHead);
    cairo_fill(cr);
    Ellipse(cr, 24, 37, 9, 7.5);
    SetColour(cr, pal::kDuckHead);
    cairo_fill(cr);
    Ellipse(cr, 22, 34.5, 4, 2.2);
    SetColour(cr, pal::kDuckHeadShine);
    cairo_fill(cr);
    // White collar
    cairo_move_to(cr, 28, 44);
    cairo_curve_to(cr, 30, 47, 33, 47, 35, 45);
    SetColour(cr, pal::kDuckCollar);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
    // Bill
    cairo_move_to(cr, 16, 36);
    cairo_curve_to(cr, 11, 37, 7, 39, 5, 41);
    cairo_curve_to(cr, 9, 42, 13, 41, 17, 40);
    cairo_close_path(cr);
    SetColour(cr, pal::kDuckBill);
    cairo_fill(cr);
}

void DuckEye(cairo_t* cr, bool dead) {
    if (dead) {
        SetColour(cr, pal::kWhite);
        cairo_set_line_width(cr, 1.3);
        cairo_move_to(cr, 20, 33.5);
        cairo_line_to(cr, 24, 37.5);
        cairo_move_to(cr, 24, 33.5);
        cairo_line_to(cr, 20, 37.5);
        cairo_stroke(cr);
        return;
    }
    Ellipse(cr, 22, 35.5, 2.0, 2.0);
    SetColour(cr, pal::kWhite);
    cairo_fill(cr);
    Ellipse(cr, 21.6, 35.5, 1.1, 1.1);
    SetColour(cr, pal::kBlack);
    cairo_fill(cr);
}

}  // namespace

void DrawDuck(cairo_t* cr, DuckPose pose, double phase) {
    cairo_save(cr);
    if (pose == DuckPose::Falling) {
        // Upside down, tumbling head first.
        cairo_translate(cr, 50, 50);
        cairo_rotate(cr, M_PI * 0.85);
        cairo_translate(cr, -50, -50);
    }
    if (pose == DuckPose::Flying) Wing(cr, phase, 34, pal::kDuckWingDark, pal::kDuckTail, false);
    if (pose == DuckPose::Flying || pose == DuckPose::Falling) {
        // Feet tucked under the tail.
        Ellipse(cr, 70, 61, 6, 2.2);
        SetColour(cr, pal::kDuckFeet);
        cairo_fill(cr);
    }
    DuckBody(cr, pose == DuckPose::Swimming);
    DuckEye(cr, pose == DuckPose::Falling);
    if (pose == DuckPose::Flying) Wing(cr, phase, 44, pal::kDuckWing, pal::kDuckWingDark, true);
    if (pose == DuckPose::Falling) Wing(cr, 0.7, 30, pal::kDuckWing, pal::kDuckWingDark, true);
    if (pose == DuckPose::Swimming) {
        // Folded wing along the back.
        Ellipse(cr, 60, 47, 15, 5);
        SetColour(cr, pal::kDuckWing);
        cairo_fill(cr);
        Ellipse(cr, 62, 48, 5, 2);
        SetColour(cr, pal::kDuckSpeculum);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void DrawRedBird(cairo_t* cr, double phase, bool falling) {
    cairo_save(cr);
    if (falling) {
        cairo_translate(cr, 50, 50);
        cairo_rotate(cr, M_PI * 0.8);
        cairo_translate(cr, -50, -50);
    }
    const double a = M_PI * phase;
    auto wing = [&](double reach, Rgb c) {
        const double tipY = 48 - reach * std::cos(a);
        cairo_move_to(cr, 40, 48);
        cairo_curve_to(cr, 44, tipY, 60, tipY, 66, tipY + 2);
        cairo_line_to(cr, 62, 50);
        cairo_close_path(cr);
        SetColour(cr, c);
        cairo_fill(cr);
    };
    wing(36, pal::kRedBirdDark);
    // Tail
    cairo_move_to(cr, 66, 48);
    cairo_line_to(cr, 94, 40);
    cairo_line_to(cr, 94, 58);
    cairo_close_path(cr);
    SetColour(cr, pal::kRedBirdDark);
    cairo_fill(cr);
    Ellipse(cr, 50, 52, 22, 14);
    SetColour(cr, pal::kRedBird);
    cairo_fill(cr);
    Ellipse(cr, 28, 42, 13, 12);
    SetColour(cr, pal::kRedBird);
    cairo_fill(cr);
    // Crest
    cairo_move_to(cr, 26, 31);
    cairo_line_to(cr, 36, 20);
    cairo_line_to(cr, 36, 33);
    cairo_close_path(cr);
    cairo_fill(cr);
    // Beak and eye
    cairo_move_to(cr, 17, 39);
    cairo_line_to(cr, 5, 44);
    cairo_line_to(cr, 17, 47);
    cairo_close_path(cr);
    SetColour(cr, pal::kDuckBill);
    cairo_fill(cr);
    Ellipse(cr, 24, 40, 3, 3);
    SetColour(cr, pal::kBlack);
    cairo_fill(cr);
    wing(44, Mix(pal::kRedBird, pal::kWhite, 0.15));
    cairo_restore(cr);
}

void DrawDecoy(cairo_t* cr) {
    cairo_save(cr);
    // Painted wooden body with a flat keel line.
    cairo_move_to(cr, 10, 60);
    cairo_curve_to(cr, 12, 40, 40, 38, 60, 42);
    cairo_curve_to(cr, 80, 44, 92, 40, 96, 46);
    cairo_curve_to(cr, 94, 62, 80, 72, 50, 72);
    cairo_curve_to(cr, 28, 72, 12, 68, 10, 60);
    cairo_close_path(cr);
    VerticalGradient(cr, 38, pal::kWoodLight, 72, pal::kWoodDark);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    // Painted wing
    Ellipse(cr, 60, 54, 20, 7);
    SetColour(cr, pal::kDuckWingDark);
    cairo_fill(cr);
    // Head
    Ellipse(cr, 24, 34, 11, 10);
    SetColour(cr, pal::kDuckHead);
    cairo_fill(cr);
    cairo_move_to(cr, 14, 32);
    cairo_line_to(cr, 2, 37);
    cairo_line_to(cr, 14, 39);
    cairo_close_path(cr);
    SetColour(cr, pal::kDuckBill);
    cairo_fill(cr);
    Ellipse(cr, 21, 31, 2.2, 2.2);
    SetColour(cr, pal::kBlack);
    cairo_fill(cr);
    // Waterline ripple
    cairo_move_to(cr, 4, 76);
    cairo_line_to(cr, 98, 76);
    SetColour(cr, pal::kRipple);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace assetgen
