// The screens around the hunt: backdrops, their buttons, popups and the
// introduction. Every backdrop is drawn as the player sees it (320 x 240);
// each button is cut from the backdrop it sits on, so its surround matches.
#include <cmath>
#include <string>

#include "tools/assetgen/buttons.h"
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/creatures.h"
#include "tools/assetgen/paint.h"
#include "tools/assetgen/scene_art.h"

namespace assetgen {

namespace {

// A stretch of the marsh, dimmed so that what stands on it reads well.
void MarshBackdrop(Canvas& c, int offset, double dim) {
    Canvas pano(kPanoramaWidth, kPanoramaHeight);
    DrawPanorama(pano.cr());
    c.CopyFrom(pano, offset, 0);
    cairo_rectangle(c.cr(), 0, 0, c.width(), c.height());
    SetColour(c.cr(), pal::kPanel, dim);
    cairo_fill(c.cr());
}

void Panel(cairo_t* cr, double x, double y, double w, double h) {
    RoundedRect(cr, x + 2, y + 2, w, h, 6);
    SetColour(cr, pal::kBlack, 0.4);
    cairo_fill(cr);
    RoundedRect(cr, x, y, w, h, 6);
    VerticalGradient(cr, y, pal::kPaper, y + h, pal::kPaperDark);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

void Title(cairo_t* cr, const std::string& text, double x, double y, double size, Align align = Align::Centre) {
    TextStyle s;
    s.face = Face::Serif;
    s.size = size;
    s.colour = pal::kGold;
    s.outline = 2;
    s.rim = pal::kInk;
    s.shadow = 2;
    s.align = align;
    DrawText(cr, text, x, y, s);
}

TextStyle InkText(double size, Align align = Align::Left) {
    TextStyle s;
    s.size = size;
    s.colour = pal::kInk;
    s.align = align;
    return s;
}

TextStyle LightText(double size, Align align = Align::Left) {
    TextStyle s;
    s.size = size;
    s.colour = pal::kCream;
    s.outline = 1.2;
    s.rim = pal::kInk;
    s.align = align;
    return s;
}

void FlyingDuck(cairo_t* cr, double x, double y, double size, double phase, bool right) {
    cairo_save(cr);
    PlaceUnitBox(cr, x, y, size, right);
    DrawDuck(cr, DuckPose::Flying, phase);
    cairo_restore(cr);
}

void AddMainMenu(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 330, 0.35);
    Title(bg.cr(), "REEDSHOT", 82, 56, 24);
    FlyingDuck(bg.cr(), 20, 84, 60, 0.2, true);
    FlyingDuck(bg.cr(), 86, 120, 40, 0.7, true);
    out.push_back(MakeOpaque(355, bg));
    struct Item { uint16_t id; int x, w; const char* caption; };
    static constexpr Item kItems[] = {
        {366, 11, 152, "START HUNT"}, {358, 57, 122, "OPTIONS"}, {368, 103, 110, "SCORES"},
        {362, 149, 92, "HOW TO PLAY"}, {360, 195, 82, "QUIT"},
    };
    for (const Item& item : kItems) AddButtonPair(out, item.id, bg, SeenRect(item.x, 0, 40, item.w), item.caption);
    // The name plate is keyed and left plain: the program writes the name
    // into the band 9..26 across it.
    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas plate(158, 40);
        DrawButton(plate.cr(), {0, 0, 158, 40}, "", pressed != 0);
        out.push_back(MakeKeyed(static_cast<uint16_t>(364 + pressed), plate, pal::kKey));
    }
}

void DrawTrack(cairo_t* cr, double w, double h) {
    cairo_rectangle(cr, 0, 0, w, h);
    SetColour(cr, pal::kPaper);
    cairo_fill(cr);
    RoundedRect(cr, 2, h / 2 - 3, w - 4, 6, 3);
    SetColour(cr, pal::kWoodDark);
    cairo_fill(cr);
    for (int i = 0; i <= 10; ++i) {
        const double x = 6 + i * (w - 12) / 10;
        cairo_move_to(cr, x, i % 5 == 0 ? 1 : 3);
        cairo_line_to(cr, x, h / 2 - 3);
    }
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void DrawToggle(cairo_t* cr, double w, double h, bool on) {
    RoundedRect(cr, 2, 2, w - 4, h - 4, 4);
    VerticalGradient(cr, 2, pal::kCream, h - 2, pal::kPaperDark);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (!on) return;
    cairo_move_to(cr, 6, h / 2);
    cairo_line_to(cr, w / 2 - 1, h - 6);
    cairo_line_to(cr, w - 4, 4);
    SetColour(cr, pal::kGood);
    cairo_set_line_width(cr, 3.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void AddOptions(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 620, 0.55);
    cairo_t* cr = bg.cr();
    Panel(cr, 8, 50, 304, 136);
    Title(cr, "OPTIONS", 160, 36, 24);
    DrawTextFitted(cr, "MUSIC", 14, 84, 96, InkText(12));
    DrawTextFitted(cr, "EFFECTS", 14, 123, 96, InkText(12));
    DrawTextFitted(cr, "SPECIAL EFFECTS", 14, 160, 124, InkText(11));
    DrawTextFitted(cr, "ANIMATION", 184, 160, 78, InkText(11));
    out.push_back(MakeOpaque(370, bg));
    AddButtonPair(out, 371, bg, SeenRect(200, 140, 26, 42), "OK");
    AddButtonPair(out, 373, bg, SeenRect(200, 14, 26, 112), "CANCEL");
    for (int state = 0; state < 2; ++state) {
        const Rect r = SeenRect(144, 31, 26, 24);
        Canvas c(r.w, r.h);
        c.CopyFrom(bg, r.x, r.y);
        DrawToggle(c.cr(), r.w, r.h, state == 0);
        out.push_back(MakeOpaque(static_cast<uint16_t>(375 + state), c));
    }
    Canvas track(184, 18);
    DrawTrack(track.cr(), 184, 18);
    out.push_back(MakeOpaque(379, track));
    out.push_back(MakeOpaque(380, track));
    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas thumb(35, 18);
        DrawTrack(thumb.cr(), 35, 18);
        DrawButton(thumb.cr(), {0, 0, 35, 18}, "", pressed != 0);
        out.push_back(MakeOpaque(static_cast<uint16_t>(377 + pressed), thumb));
    }
}

void AddHowToPlay(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 40, 0.55);
    cairo_t* cr = bg.cr();
    Title(cr, "HOW TO PLAY", 150, 40, 20);
    RoundedRect(cr, 36, 56, 228, 130, 6);
    SetColour(cr, pal::kWoodDark);
    cairo_fill(cr);
    struct B { uint16_t id; int x, y, w, h; const char* caption; Glyph glyph; };
    static constexpr B kButtons[] = {
        {390, 200, 14, 26, 42, "OK", Glyph::None},          {386, 200, 72, 26, 128, "CREDITS", Glyph::None},
        {399, 200, 214, 26, 94, "ABOUT", Glyph::None},      {388, 137, 19, 42, 20, "", Glyph::ArrowDown},
        {384, 22, 19, 42, 20, "", Glyph::ArrowUp},
    };
    // The buttons' captions are on the backdrop too.
    for (const B& b : kButtons) DrawButton(cr, SeenRect(b.x, b.y, b.w, b.h), b.caption, false, b.glyph);
    out.push_back(MakeOpaque(383, bg));
    for (const B& b : kButtons) AddButtonPair(out, b.id, bg, SeenRect(b.x, b.y, b.w, b.h), b.caption, b.glyph);
}

void AddResults(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 500, 0.55);
    cairo_t* cr = bg.cr();
    Title(cr, "HIGH SCORES", 160, 38, 22);
    RoundedRect(cr, 6, 52, 308, 140, 6);
    SetColour(cr, pal::kPanel, 0.85);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    out.push_back(MakeOpaque(398, bg));
    AddButtonPair(out, 392, bg, SeenRect(200, 13, 26, 44), "BACK");
    AddButtonPair(out, 394, bg, SeenRect(200, 70, 26, 90), "CLEAR");
    AddButtonPair(out, 396, bg, SeenRect(200, 174, 26, 88), "STATISTICS");
    AddButtonPair(out, 504, bg, SeenRect(200, 174, 26, 88), "TABLE");
    // The newest entry's marker: a small gold duck head on the table.
    const Rect m = SeenRect(80, 280, 20, 20);
    Canvas marker(m.w, m.h);
    marker.CopyFrom(bg, m.x, m.y);
    cairo_save(marker.cr());
    PlaceUnitBox(marker.cr(), -2, -8, 36, false);
    DrawDuck(marker.cr(), DuckPose::Swimming, 0);
    cairo_restore(marker.cr());
    out.push_back(MakeOpaque(506, marker));
}

void AddNameEntry(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 250, 0.6);
    cairo_t* cr = bg.cr();
    RoundedRect(cr, 64, 14, 192, 26, 5);
    SetColour(cr, pal::kPanel);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kGold);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    DrawTextFitted(cr, "NAME", 8, 32, 52, LightText(13));
    RoundedRect(cr, 6, 52, 308, 184, 6);
    SetColour(cr, pal::kPanel, 0.85);
    cairo_fill(cr);
    out.push_back(MakeOpaque(502, bg));
    AddButtonPair(out, 422, bg, SeenRect(203, 27, 26, 44), "OK");
    AddButtonPair(out, 424, bg, SeenRect(203, 86, 26, 98), "CANCEL");
    auto key = [&](uint16_t id, int row, int col, const std::string& caption, Glyph glyph) {
        AddButtonPair(out, id, bg, {13 + 34 * col, row, 20, 20}, caption, glyph);
    };
    key(426, 200, 0, "0", Glyph::None);
    for (int d = 1; d <= 9; ++d) key(static_cast<uint16_t>(428 + 2 * (d - 1)), 166, d - 1, std::to_string(d), Glyph::None);
    for (int l = 0; l < 26; ++l) {
        const int row = l < 9 ? 59 : l < 18 ? 93 : 127;
        key(static_cast<uint16_t>(446 + 2 * l), row, l % 9, std::string(1, static_cast<char>('A' + l)), Glyph::None);
    }
    key(498, 200, 1, "", Glyph::Space);
    key(500, 200, 2, "", Glyph::Backspace);
}

void AddPause(PictureList& out) {
    Canvas panel(100, 170);
    cairo_t* cr = panel.cr();
    RoundedRect(cr, 1, 1, 98, 168, 8);
    VerticalGradient(cr, 0, pal::kPanelLight, 170, pal::kPanel);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    DrawText(cr, "PAUSED", 50, 13, LightText(10, Align::Centre));
    struct B { uint16_t id; int v; const char* caption; };
    static constexpr B kButtons[] = {
        {523, 16, "OPTIONS"}, {527, 44, "SCORES"}, {521, 76, "HELP"}, {519, 104, "END HUNT"}, {525, 133, "RESUME"},
    };
    Canvas plain(100, 170);
    plain.CopyFrom(panel, 0, 0);
    for (const B& b : kButtons) DrawButton(cr, {6, b.v, 88, 24}, b.caption, false);
    out.push_back(MakeKeyed(518, panel, pal::kKey));
    for (const B& b : kButtons) AddButtonPair(out, b.id, plain, {6, b.v, 88, 24}, b.caption);
}

void AddConfirm(PictureList& out) {
    Canvas box(168, 100);
    cairo_t* cr = box.cr();
    RoundedRect(cr, 1, 1, 166, 98, 9);
    VerticalGradient(cr, 0, pal::kPaper, 100, pal::kPaperDark);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    DrawText(cr, "CLEAR THE", 84, 28, InkText(14, Align::Centre));
    DrawText(cr, "HIGH SCORES?", 84, 48, InkText(14, Align::Centre));
    Canvas plain(168, 100);
    plain.CopyFrom(box, 0, 0);
    const Rect yes{13, 68, 40, 24}, no{73, 68, 86, 24};
    DrawButton(cr, yes, "YES", false);
    DrawButton(cr, no, "NO", false);
    Picture p = MakeKeyed(532, box, pal::kKey);
    p.keyX = p.keyY = 1;
    out.push_back(std::move(p));
    out.push_back(ButtonPicture(533, plain, yes, "YES", true));
    out.push_back(ButtonPicture(534, plain, no, "NO", true));
}

void AddAboutAndEnd(PictureList& out) {
    Canvas about(200, 150);
    cairo_t* cr = about.cr();
    Fill(cr, pal::kWoodDark);
    Panel(cr, 4, 4, 190, 140);
    Title(cr, "REEDSHOT", 100, 34, 22);
    DrawText(cr, "VERSION 1.0", 100, 54, InkText(10, Align::Centre));
    DrawText(cr, "A DAY OF DUCK SHOOTING", 100, 78, InkText(10, Align::Centre));
    DrawText(cr, "ON THE MARSH, THREE", 100, 92, InkText(10, Align::Centre));
    DrawText(cr, "MINUTES AT A TIME.", 100, 106, InkText(10, Align::Centre));
    DrawText(cr, "TAP TO CLOSE", 100, 132, InkText(9, Align::Centre));
    out.push_back(MakeOpaque(509, about));

    Canvas end(260, 168);
    cr = end.cr();
    VerticalGradient(cr, 0, Hex(0x3A4F8A), 168, Hex(0xF0A24A));
    cairo_paint(cr);
    Ellipse(cr, 130, 150, 50, 50);
    SetColour(cr, pal::kGold, 0.9);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 130, 260, 38);
    VerticalGradient(cr, 130, pal::kWaterTop, 168, pal::kWaterLow);
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) FlyingDuck(cr, 150 + i * 30, 70 - i * 14, 28, i * 0.4, true);
    Title(cr, "TIME IS UP!", 130, 52, 28);
    out.push_back(MakeOpaque(511, end));

    Canvas loading(184, 58);
    cr = loading.cr();
    DrawButton(cr, {0, 0, 184, 58}, "", false);
    Title(cr, "LOADING...", 92, 38, 20);
    out.push_back(MakeKeyed(581, loading, pal::kKey));
}

void AddTitle(PictureList& out) {
    Canvas bg(320, 240);
    MarshBackdrop(bg, 600, 0.15);
    cairo_t* cr = bg.cr();
    Title(cr, "REEDSHOT", 160, 70, 44);
    DrawText(cr, "A MARSH SHOOTING GALLERY", 160, 92, LightText(12, Align::Centre));
    FlyingDuck(cr, 30, 104, 80, 0.1, true);
    FlyingDuck(cr, 120, 130, 50, 0.6, true);
    out.push_back(MakeOpaque(583, bg));
    const Rect prompt = SeenRect(200, 10, 36, 86);
    Canvas c(prompt.w, prompt.h);
    c.CopyFrom(bg, prompt.x, prompt.y);
    DrawText(c.cr(), "TAP TO", 43, 16, LightText(13, Align::Centre));
    DrawText(c.cr(), "START", 43, 32, LightText(13, Align::Centre));
    out.push_back(MakeOpaque(584, c));
}

// Shown before the device is turned: these are stored as drawn.
void AddIntro(PictureList& out) {
    Canvas logo(180, 180);
    cairo_t* cr = logo.cr();
    Ellipse(cr, 90, 90, 86, 86);
    VerticalGradient(cr, 4, pal::kSkyTop, 176, pal::kWaterLow);
    cairo_fill_preserve(cr);
    SetColour(cr, pal::kGold);
    cairo_set_line_width(cr, 4);
    cairo_stroke(cr);
    FlyingDuck(cr, 40, 28, 100, 0.25, false);
    Title(cr, "REEDSHOT", 90, 140, 19);
    out.push_back(MakeKeyed(350, logo, pal::kBlack, Orientation::Portrait));

    Canvas turn(220, 212);
    cr = turn.cr();
    // A handheld, and an arrow turning it a quarter turn clockwise.
    RoundedRect(cr, 80, 30, 60, 90, 8);
    SetColour(cr, pal::kStone);
    cairo_fill(cr);
    cairo_rectangle(cr, 86, 38, 48, 66);
    SetColour(cr, pal::kSkyTop);
    cairo_fill(cr);
    cairo_arc(cr, 110, 75, 62, -M_PI * 0.35, M_PI * 0.15);
    SetColour(cr, pal::kGold);
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
    const double ax = 110 + 62 * std::cos(M_PI * 0.15), ay = 75 + 62 * std::sin(M_PI * 0.15);
    cairo_move_to(cr, ax - 12, ay - 4);
    cairo_line_to(cr, ax + 10, ay - 8);
    cairo_line_to(cr, ax - 2, ay + 12);
    cairo_close_path(cr);
    cairo_fill(cr);
    DrawText(cr, "PLEASE TURN", 110, 160, LightText(16, Align::Centre));
    DrawText(cr, "YOUR DEVICE", 110, 182, LightText(16, Align::Centre));
    out.push_back(MakeKeyed(351, turn, pal::kBlack, Orientation::Portrait));

    for (int pressed = 0; pressed < 2; ++pressed) {
        Canvas skip(46, 18);
        Fill(skip.cr(), pal::kBlack);
        DrawButton(skip.cr(), {0, 0, 46, 18}, "SKIP", pressed != 0);
        out.push_back(MakeOpaque(static_cast<uint16_t>(352 + pressed), skip, Orientation::Portrait));
    }
}

}  // namespace

void AddMenus(PictureList& out) {
    AddMainMenu(out);
    AddOptions(out);
    AddHowToPlay(out);
    AddResults(out);
    AddNameEntry(out);
    AddPause(out);
    AddConfirm(out);
    AddAboutAndEnd(out);
    AddTitle(out);
    AddIntro(out);
}

}  // namespace assetgen
