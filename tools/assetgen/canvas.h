// A Cairo drawing surface for one picture as the player sees it, and its
// conversion to a stored 5-6-5 picture.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "tools/assetgen/palette.h"
#include "tools/assetgen/picture.h"

namespace assetgen {

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    cairo_surface_t* surface() const { return surface_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Copies the region (x, y, w, h) of another canvas into this one at (0, 0).
    void CopyFrom(const Canvas& source, int x, int y);

    // Straight (not premultiplied) channel values of one pixel.
    struct Pixel { uint8_t r, g, b, a; };
    Pixel At(int x, int y) const;

private:
    int width_, height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

enum class Orientation {
    Landscape,  // drawn as the player sees it, stored a quarter turn counter-clockwise
    Portrait    // stored exactly as drawn
};

// Pixels with coverage of at least half are art; the rest become the key.
// Partial coverage is blended over the key so edges fade into the shadow.
Picture MakeKeyed(uint16_t id, const Canvas& canvas, Rgb key, Orientation o = Orientation::Landscape);
// Every pixel is art, composed over black.
Picture MakeOpaque(uint16_t id, const Canvas& canvas, Orientation o = Orientation::Landscape);

uint16_t To565(Rgb c);
uint16_t To565(uint8_t r, uint8_t g, uint8_t b);

}  // namespace assetgen
