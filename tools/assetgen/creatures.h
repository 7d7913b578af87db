// Parametric drawers for the animals and decoys of the hunt. Every drawer
// works in a 100 x 100 unit box facing the player's left; callers scale,
// mirror and place it.
#pragma once

#include <cairo.h>

namespace assetgen {

enum class DuckPose { Flying, Falling, Swimming };

// phase 0 = wings fully up, 1 = wings fully down.
void DrawDuck(cairo_t* cr, DuckPose pose, double phase);
// A small, clearly red songbird; phase as for the duck.
void DrawRedBird(cairo_t* cr, double phase, bool falling);
// The wooden decoy floating on the water.
void DrawDecoy(cairo_t* cr);

// Sets up cr so that the 100-unit box fills (x, y, size, size), mirrored for
// creatures that face the player's right.
void PlaceUnitBox(cairo_t* cr, double x, double y, double size, bool facingRight);

}  // namespace assetgen
