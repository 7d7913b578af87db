// The six how-to-play pages and the credits captions.
#include <string>
#include <vector>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"
#include "tools/assetgen/creatures.h"
#include "tools/assetgen/paint.h"

namespace assetgen {

namespace {

constexpr int kPageW = 216, kPageH = 118;

struct Page {
    const char* heading;
    std::vector<std::string> lines;
};

// A small picture at the page's right that shows what the page is about.
void PageIcon(cairo_t* cr, int page) {
    cairo_save(cr);
    switch (page) {
    case 0:  // crosshair over a duck
        PlaceUnitBox(cr, 150, 34, 60, false);
        DrawDuck(cr, DuckPose::Flying, 0.3);
        cairo_restore(cr);
        cairo_save(cr);
        Ellipse(cr, 180, 64, 14, 14);
        cairo_move_to(cr, 162, 64);
        cairo_line_to(cr, 198, 64);
        cairo_move_to(cr, 180, 46);
        cairo_line_to(cr, 180, 82);
        SetColour(cr, pal::kBad);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        break;
    case 3:
        PlaceUnitBox(cr, 160, 40, 44, false);
        DrawRedBird(cr, 0.4, false);
        break;
    case 5:
        Ellipse(cr, 184, 66, 18, 18);
        SetColour(cr, pal::kInk);
        cairo_fill(cr);
        Ellipse(cr, 184, 66, 14, 14);
        SetColour(cr, pal::kCream);
        cairo_fill(cr);
        cairo_move_to(cr, 184, 66);
        cairo_line_to(cr, 184, 56);
        cairo_move_to(cr, 184, 66);
        cairo_line_to(cr, 192, 70);
        SetColour(cr, pal::kInk);
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        break;
    default:
        break;
    }
    cairo_restore(cr);
}

void DrawPage(cairo_t* cr, int index, const Page& page) {
    VerticalGradient(cr, 0, pal::kPaper, kPageH, pal::kPaperDark);
    cairo_paint(cr);
    cairo_rectangle(cr, 1.5, 1.5, kPageW - 3, kPageH - 3);
    SetColour(cr, pal::kWoodDark);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    TextStyle head;
    head.face = Face::Serif;
    head.size = 14;
    head.colour = pal::kRoofDark;
    head.align = Align::Left;
    DrawTextFitted(cr, page.heading, 10, 20, kPageW - 20, head);
    TextStyle body;
    body.size = 9.5;
    body.colour = pal::kInk;
    body.bold = false;
    body.align = Align::Left;
    const bool icon = index == 0 || index == 3 || index == 5;
    for (size_t i = 0; i < page.lines.size(); ++i)
        DrawTextFitted(cr, page.lines[i], 10, 38 + 13.0 * static_cast<double>(i), icon ? 140 : 196, body);
    PageIcon(cr, index);
    TextStyle foot = body;
    foot.align = Align::Right;
    foot.size = 8;
    DrawText(cr, std::to_string(index + 1) + " / 6", kPageW - 8, kPageH - 6, foot);
}

const Page kPages[6] = {
    {"AIMING AND SHOOTING", {"Tap a duck to shoot it.", "Big ducks are worth 10 points,", "small far ones 25.",
                             "A near miss scares a duck", "away: aim for its body."}},
    {"RELOADING", {"Your gun holds seven shells,", "shown at the bottom right.", "When it is empty, tap the",
                   "shells or press a hardware", "button to reload."}},
    {"SCROLLING", {"The marsh is three screens", "wide. Press up and down on", "the pad to look along it.",
                   "Ducks come from both ends."}},
    {"WHAT TARGETS ARE WORTH", {"Sign duck: +50", "Red bird: -50", "Decoy on the water: -50",
                                "Do not shoot the red birds!", "Something is hidden, too..."}},
    {"LEAVES", {"Shoot a falling leaf for", "1 point, or 30 seconds more", "or less time, or a whole",
                "flight of ducks at once.", "You never know which."}},
    {"PAUSE AND TIME", {"A hunt lasts three minutes.", "Tap the clock at the", "bottom left to pause.",
                        "When time is up, your score", "goes into the table."}},
};

struct Caption {
    uint16_t id;
    int width, height;
    const char* text;
    bool heading;
};

constexpr Caption kCaptions[] = {
    {407, 112, 20, "REEDSHOT", true},        {408, 164, 20, "A DAY ON THE MARSH", false},
    {409, 154, 20, "VERSION 1.0", false},    {410, 92, 20, "DESIGN", true},
    {411, 144, 20, "THE REEDSHOT TEAM", false}, {412, 134, 20, "PROGRAMMING", true},
    {413, 172, 20, "C++ AND SDL EDITION", false}, {415, 152, 20, "PICTURES", true},
    {416, 144, 20, "DRAWN BY CODE", false},  {417, 186, 20, "SOUND AND MUSIC", true},
    {418, 176, 20, "SYNTHESISED TONES", false}, {419, 168, 20, "THANK YOU", true},
    {420, 126, 18, "FOR PLAYING", false},
};

}  // namespace

void AddPages(PictureList& out) {
    for (int i = 0; i < 6; ++i) {
        Canvas page(kPageW, kPageH);
        DrawPage(page.cr(), i, kPages[i]);
        out.push_back(MakeOpaque(static_cast<uint16_t>(401 + i), page));
    }
    // Light text on black, left-aligned: the black is the key.
    for (const Caption& c : kCaptions) {
        Canvas canvas(c.width, c.height);
        TextStyle s;
        s.size = c.height * (c.heading ? 0.72 : 0.62);
        s.colour = c.heading ? pal::kGold : pal::kCream;
        s.face = c.heading ? Face::Serif : Face::Sans;
        s.align = Align::Left;
        DrawTextFitted(canvas.cr(), c.text, 1, c.height * 0.75, c.width - 2, s);
        out.push_back(MakeKeyed(c.id, canvas, pal::kBlack));
    }
}

}  // namespace assetgen
