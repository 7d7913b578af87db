// The marsh panorama (960 x 240 as the player sees it), cut into the three
// background tiles, and the scenery pieces that stand on it.
#include <cmath>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/scene_art.h"

namespace assetgen {

namespace {

constexpr int kWide = kPanoramaWidth, kTall = kPanoramaHeight;
constexpr double kShore = 158;  // first row of open water

void TreeBlob(cairo_t* cr, double x, double base, double h, double w, Rgb c) {
    cairo_move_to(cr, x - w / 2, base);
    cairo_curve_to(cr, x - w / 2, base - h * 0.7, x - w * 0.2, base - h, x, base - h);
    cairo_curve_to(cr, x + w * 0.2, base - h, x + w / 2, base - h * 0.7, x + w / 2, base);
    cairo_close_path(cr);
    SetColour(cr, c);
    cairo_fill(cr);
}

void ReedClump(cairo_t* cr, Noise& n, double x, double base, double h, int blades) {
    for (int i = 0; i < blades; ++i) {
        const double bx = x + n.Range(-h * 0.25, h * 0.25);
        const double top = base - h * n.Range(0.6, 1.0);
        const double lean = n.Range(-h * 0.18, h * 0.18);
        cairo_move_to(cr, bx - 1.2, base);
        cairo_curve_to(cr, bx, (base + top) / 2, bx + lean * 0.5, top + 4, bx + lean, top);
        cairo_curve_to(cr, bx + lean * 0.5 + 1, top + 6, bx + 1.5, (base + top) / 2, bx + 1.2, base);
        cairo_close_path(cr);
        SetColour(cr, Mix(pal::kReedDark, pal::kReed, n.Next()));
        cairo_fill(cr);
        if (i % 3 == 0) {
            Ellipse(cr, bx + lean * 0.6, top + 6, 1.8, 4.5);
            SetColour(cr, pal::kCattail);
            cairo_fill(cr);
        }
    }
}

void Bush(cairo_t* cr, Noise& n, double x, double base, double w, double h) {
    for (int i = 0; i < 9; ++i) {
        const double bx = x + n.Range(-w / 2, w / 2) * 0.8;
        const double by = base - n.Range(0.25, 0.7) * h;
        const double r = n.Range(0.25, 0.4) * w;
        Ellipse(cr, bx, by, r, r * 0.8);
        SetColour(cr, Mix(pal::kBush, pal::kBushLight, n.Range(0.0, 0.7)));
        cairo_fill(cr);
    }
}

}  // namespace

void DrawPanorama(cairo_t* cr) {
    Noise n(7);
    VerticalGradient(cr, 0, pal::kSkyTop, 100, pal::kSkyLow);
    cairo_paint(cr);
    for (int i = 0; i < 9; ++i) {
        const double cx = 40 + i * 105 + n.Range(-20, 20), cy = n.Range(18, 55);
        for (int k = 0; k < 5; ++k) {
            Ellipse(cr, cx + k * 9 - 18, cy + n.Range(-4, 3), n.Range(10, 18), n.Range(5, 8));
            SetColour(cr, pal::kCloud, 0.85);
            cairo_fill(cr);
        }
    }
    // Far trees, then nearer trees.
    for (double x = -10; x < kWide + 20; x += n.Range(9, 16))
        TreeBlob(cr, x, 112, n.Range(18, 34), n.Range(14, 24), pal::kFarTrees);
    for (double x = -10; x < kWide + 20; x += n.Range(14, 26))
        TreeBlob(cr, x, 118, n.Range(10, 22), n.Range(16, 28), pal::kNearTrees);
    // Meadow down to the shore.
    cairo_rectangle(cr, 0, 114, kWide, kShore - 114);
    VerticalGradient(cr, 114, pal::kMeadowDark, kShore, pal::kMeadow);
    cairo_fill(cr);
    for (int i = 0; i < 900; ++i) {
        const double gx = n.Range(0, kWide), gy = n.Range(118, kShore);
        cairo_move_to(cr, gx, gy);
        cairo_line_to(cr, gx + n.Range(-1.5, 1.5), gy - n.Range(2, 5));
        SetColour(cr, Mix(pal::kMeadowDark, pal::kLeafGreen, n.Next()), 0.8);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // Muddy shore line with a gentle wave.
    cairo_move_to(cr, 0, kShore - 3);
    for (int x = 0; x <= kWide; x += 8)
        cairo_line_to(cr, x, kShore - 3 + 2 * std::sin(x * 0.021) + std::sin(x * 0.077));
    cairo_line_to(cr, kWide, kShore + 3);
    cairo_line_to(cr, 0, kShore + 3);
    cairo_close_path(cr);
    SetColour(cr, pal::kMud);
    cairo_fill(cr);
    // Water
    cairo_rectangle(cr, 0, kShore + 2, kWide, kTall - kShore);
    VerticalGradient(cr, kShore, pal::kWaterTop, kTall, pal::kWaterLow);
    cairo_fill(cr);
    for (int i = 0; i < 260; ++i) {
        const double wy = n.Range(kShore + 4, kTall), wx = n.Range(0, kWide);
        const double len = 4 + (wy - kShore) * 0.12;
        cairo_move_to(cr, wx, wy);
        cairo_line_to(cr, wx + len, wy);
        SetColour(cr, pal::kRipple, 0.35 + 0.3 * n.Next());
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    // Reeds along the shore, away from where the scenery stands.
    for (double x = 140; x < 280; x += 22) ReedClump(cr, n, x, kShore + 6, 34, 7);
    for (double x = 460; x < 540; x += 24) ReedClump(cr, n, x, kShore + 6, 30, 6);
    for (double x = 740; x < 850; x += 20) ReedClump(cr, n, x, kShore + 6, 36, 7);
    for (double x = 300; x < 800; x += 130) Bush(cr, n, x, kShore - 2, 26, 20);
    // The jetty beside the hut: planks over posts out into the water.
    for (double px = 438; px <= 510; px += 18) {
        cairo_rectangle(cr, px, 176, 4, 26);
        SetColour(cr, pal::kWoodDark);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 430, 170, 86, 8);
    VerticalGradient(cr, 170, pal::kWoodLight, 178, pal::kWood);
    cairo_fill(cr);
    for (double px = 430; px < 516; px += 7) {
        cairo_move_to(cr, px + 0.5, 170);
        cairo_line_to(cr, px + 0.5, 178);
        SetColour(cr, pal::kWoodDark);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_rectangle(cr, 430, 202, 86, 3);
    SetColour(cr, pal::kWaterLow, 0.5);
    cairo_fill(cr);
}

namespace {

void Plank(cairo_t* cr, double x, double y, double w, double h, Rgb c) {
    cairo_rectangle(cr, x, y, w, h);
    SetColour(cr, c);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void House(cairo_t* cr, double x, double y, double w, double h, double roofH) {
    // Roof
    cairo_move_to(cr, x - 3, y + roofH);
    cairo_line_to(cr, x + w / 2, y);
    cairo_line_to(cr, x + w + 3, y + roofH);
    cairo_close_path(cr);
    VerticalGradient(cr, y, pal::kRoof, y + roofH, pal::kRoofDark);
    cairo_fill(cr);
    // Boarded walls
    for (double bx = x; bx < x + w; bx += 6) Plank(cr, bx, y + roofH, std::min(6.0, x + w - bx), h - roofH,
                                                   static_cast<int>(bx) % 12 < 6 ? pal::kWood : pal::kWoodLight);
}

void Window(cairo_t* cr, double x, double y, double w, double h) {
    cairo_rectangle(cr, x, y, w, h);
    SetColour(cr, pal::kWindow);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, x + w / 2, y);
    cairo_line_to(cr, x + w / 2, y + h);
    cairo_stroke(cr);
}

void DrawScenery(cairo_t* cr) {
    Noise n(11);
    // Group A: the hut with bushes either side and steps into the water.
    House(cr, 326, 126, 66, 74, 30);
    Window(cr, 338, 165, 12, 11);
    cairo_rectangle(cr, 364, 168, 14, 32);
    SetColour(cr, pal::kWoodDark);
    cairo_fill(cr);
    Bush(cr, n, 411, 196, 34, 50);
    Bush(cr, n, 305, 177, 32, 36);
    for (int i = 0; i < 4; ++i) Plank(cr, 355, 202 + i * 8, 14, 6, pal::kWoodLight);
    // Group B: a willow at the right end, trunk below the crown.
    cairo_rectangle(cr, 900, 126, 12, 50);
    VerticalGradient(cr, 126, pal::kWood, 176, pal::kWoodDark);
    cairo_fill(cr);
    for (int i = 0; i < 28; ++i) {
        const double a = n.Range(0, 2 * M_PI), r = n.Range(0, 1);
        Ellipse(cr, 907 + std::cos(a) * r * 30, 94 + std::sin(a) * r * 26, n.Range(9, 14), n.Range(8, 11));
        SetColour(cr, Mix(pal::kBush, pal::kBushLight, n.Range(0.1, 0.9)));
        cairo_fill(cr);
    }
    // Group C: a boathouse at the left end, built up from stacked pieces.
    House(cr, 2, 90, 34, 40, 18);
    House(cr, 4, 108, 106, 70, 20);
    cairo_rectangle(cr, 60, 146, 40, 32);
    SetColour(cr, pal::kWoodDark);
    cairo_fill(cr);
    Window(cr, 16, 136, 12, 10);
    Plank(cr, 96, 128, 33, 50, pal::kWood);
    Plank(cr, 96, 128, 33, 4, pal::kRoof);
    // Shore pieces: stones, reeds and the front reed clump.
    auto stone = [&](double x, double y, double rx, double ry) {
        Ellipse(cr, x, y, rx, ry);
        VerticalGradient(cr, y - ry, pal::kStone, y + ry, pal::kStoneDark);
        cairo_fill(cr);
    };
    stone(706, 228, 14, 9);
    ReedClump(cr, n, 706, 222, 20, 6);
    stone(618, 229, 4, 6);
    stone(590, 223, 9, 7);
    stone(552, 224, 6, 5);
    ReedClump(cr, n, 842, 239, 40, 14);
}

// The hidden bonus: a golden egg tucked against the boathouse wall, with a
// glint in the rows the tap reaches.
void DrawBonus(cairo_t* cr) {
    Ellipse(cr, 41, 169.5, 4.4, 4.2);
    VerticalGradient(cr, 165, pal::kGold, 174, pal::kBrassDark);
    cairo_fill(cr);
    Ellipse(cr, 39.5, 167.5, 1.2, 1.2);
    SetColour(cr, pal::kWhite);
    cairo_fill(cr);
}

// Cuts the piece that stands at world (x, y), stored size w x h.
Picture Piece(uint16_t id, const Canvas& layer, int x, int y, int w, int h) {
    Canvas piece(h, w);
    piece.CopyFrom(layer, kWide - y - h, x);
    return MakeKeyed(id, piece, pal::kKey);
}

struct Placed { uint16_t id; int x, y, w, h; };

}  // namespace

void AddHuntScene(PictureList& out) {
    Canvas panorama(kWide, kTall);
    DrawPanorama(panorama.cr());
    for (int t = 0; t < 3; ++t) {
        Canvas tile(320, 240);
        tile.CopyFrom(panorama, 320 * t, 0);
        out.push_back(MakeOpaque(static_cast<uint16_t>(146 + t), tile));
    }
    Canvas scenery(kWide, kTall);
    DrawScenery(scenery.cr());
    static constexpr Placed kPieces[] = {
        {261, 141, 530, 56, 36}, {262, 164, 566, 38, 28}, {263, 126, 566, 38, 28}, {264, 124, 594, 36, 38},
        {265, 160, 594, 42, 44}, {266, 139, 638, 40, 34}, {267, 202, 590, 32, 16}, {284, 57, 9, 34, 30},
        {285, 91, 9, 28, 30},    {286, 56, 39, 38, 24},   {287, 94, 39, 38, 24},   {289, 66, 63, 34, 32},
        {290, 100, 63, 28, 32},  {291, 132, 48, 44, 12},  {292, 128, 830, 50, 34}, {293, 108, 848, 20, 16},
        {294, 108, 864, 70, 52}, {295, 108, 916, 70, 44}, {296, 90, 922, 18, 38},  {297, 200, 237, 40, 32},
        {298, 213, 336, 24, 10}, {299, 201, 359, 32, 20}, {300, 216, 400, 14, 14}, {301, 198, 92, 42, 50},
    };
    for (const Placed& p : kPieces) out.push_back(Piece(p.id, scenery, p.x, p.y, p.w, p.h));
    Canvas bonus(kWide, kTall);
    DrawBonus(bonus.cr());
    out.push_back(Piece(302, bonus, 165, 914, 12, 10));
}

}  // namespace assetgen
