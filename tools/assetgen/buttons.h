// The one button look of every menu: a painted wooden plank with cream
// lettering, sunk and darkened when pressed.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>

#include "tools/assetgen/canvas.h"
#include "tools/assetgen/catalogue.h"

namespace assetgen {

struct Rect {
    int x, y, w, h;  // as the player sees it
};

// The rectangle as seen of a picture of stored size w x h placed at panel (px, py).
Rect SeenRect(int px, int py, int storedW, int storedH);

enum class Glyph { None, ArrowUp, ArrowDown, Backspace, Space };

void DrawButton(cairo_t* cr, const Rect& r, const std::string& caption, bool pressed, Glyph glyph = Glyph::None);

// Cuts the rectangle r out of a copy of the backdrop with the button drawn
// on it, so the picture's surround matches what lies beneath.
Picture ButtonPicture(uint16_t id, const Canvas& backdrop, const Rect& r, const std::string& caption, bool pressed,
                      Glyph glyph = Glyph::None);

// Both looks: normal as firstId, pressed as firstId + 1.
void AddButtonPair(PictureList& out, uint16_t firstId, const Canvas& backdrop, const Rect& r,
                   const std::string& caption, Glyph glyph = Glyph::None);

// Cuts a rectangle of a canvas as an opaque picture.
Picture Cut(uint16_t id, const Canvas& from, const Rect& r);

}  // namespace assetgen
