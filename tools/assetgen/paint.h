// Small drawing helpers shared by every picture.
#pragma once

#include <cairo.h>

#include <string>

#include "tools/assetgen/palette.h"

namespace assetgen {

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
Rgb Mix(Rgb a, Rgb b, double t);
void Fill(cairo_t* cr, Rgb c);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void VerticalGradient(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom);

enum class Face { Sans, Serif };
enum class Align { Left, Centre, Right };
struct TextStyle {
    double size = 12;
    Rgb colour = pal::kCream;
    Face face = Face::Sans;
    bool bold = true;
    Align align = Align::Centre;
    double outline = 0;      // width of a dark rim, 0 for none
    Rgb rim = pal::kInk;
    double shadow = 0;       // drop shadow offset, 0 for none
};

void SelectFont(cairo_t* cr, Face face, bool bold, double size);
double TextWidth(cairo_t* cr, const std::string& text, const TextStyle& style);
// Draws text with its baseline at y; x is the left, centre or right end.
void DrawText(cairo_t* cr, const std::string& text, double x, double y, const TextStyle& style);
// Like DrawText, but shrinks the size until the text fits in maxWidth.
void DrawTextFitted(cairo_t* cr, const std::string& text, double x, double y, double maxWidth, TextStyle style);

// Lets Cairo's and fontconfig's caches go, so leak checkers see a clean exit.
// Call once, after the last drawing.
void ReleaseFontCaches();

// A deterministic noise source so the same picture comes out every build.
class Noise {
public:
    explicit Noise(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    double Next();                      // 0 .. 1
    double Range(double lo, double hi) { return lo + (hi - lo) * Next(); }
private:
    unsigned state_;
};

}  // namespace assetgen
