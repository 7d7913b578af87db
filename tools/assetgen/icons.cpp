#include "tools/assetgen/icons.h"

#include <cairo.h>

#include <filesystem>

#include "tools/assetgen/creatures.h"
#include "tools/assetgen/paint.h"

namespace assetgen {

namespace {

// Drawn in a 100-unit square so every size shows the same picture.
void DrawIcon(cairo_t* cr, int size) {
    cairo_scale(cr, size / 100.0, size / 100.0);
    RoundedRect(cr, 2, 2, 96, 96, 18);
    cairo_clip(cr);
    VerticalGradient(cr, 0, pal::kSkyTop, 100, pal::kSkyLow);
    cairo_paint(cr);
    // Water and a few reeds along the bottom.
    cairo_rectangle(cr, 0, 78, 100, 22);
    VerticalGradient(cr, 78, pal::kWaterTop, 100, pal::kWaterLow);
    cairo_fill(cr);
    SetColour(cr, pal::kReedDark);
    cairo_set_line_width(cr, 3);
    for (double x : {10.0, 17.0, 84.0, 91.0}) {
        cairo_move_to(cr, x, 100);
        cairo_curve_to(cr, x, 86, x + 2, 74, x + 4, 62);
        cairo_stroke(cr);
    }
    cairo_save(cr);
    PlaceUnitBox(cr, 4, 2, 92, false);
    DrawDuck(cr, DuckPose::Flying, 0.25);
    cairo_restore(cr);
    cairo_reset_clip(cr);
    // A dark rim keeps the small sizes apart from any panel colour.
    RoundedRect(cr, 2, 2, 96, 96, 18);
    SetColour(cr, pal::kInk);
    cairo_set_line_width(cr, size <= 24 ? 6 : 3);
    cairo_stroke(cr);
}

bool WritePng(const std::filesystem::path& file, int size) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
    cairo_t* cr = cairo_create(surface);
    DrawIcon(cr, size);
    const bool ok = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace

bool WriteIcons(const std::string& dir) {
    bool ok = true;
    for (const int size : kIconSizes) {
        const std::filesystem::path folder =
            std::filesystem::path(dir) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
        std::error_code made;
        std::filesystem::create_directories(folder, made);
        ok = !made && WritePng(folder / "reedshot.png", size) && ok;
    }
    return ok;
}

bool WriteWebIcons(const std::string& dir) {
    std::error_code made;
    std::filesystem::create_directories(dir, made);
    const std::filesystem::path folder(dir);
    return !made && WritePng(folder / "favicon.png", 32) && WritePng(folder / "icon-192.png", 192) &&
           WritePng(folder / "icon-512.png", 512);
}

}  // namespace assetgen
