// The marsh panorama (960 x 240 as the player sees it), shared by the hunt's
// background tiles and the menu backdrops.
#pragma once

#include <cairo.h>

namespace assetgen {

inline constexpr int kPanoramaWidth = 960, kPanoramaHeight = 240;

void DrawPanorama(cairo_t* cr);

}  // namespace assetgen
