// The icons: the flying duck of the hunt over a marsh sky, drawn at every
// size a desktop or a browser asks for.
#pragma once

#include <string>

namespace assetgen {

// Sizes of the hicolor theme, in pixels.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes DIR/NxN/apps/reedshot.png for every size; false when a file fails.
bool WriteIcons(const std::string& dir);

// Writes DIR/favicon.png (32), DIR/icon-192.png and DIR/icon-512.png for the
// web page and its manifest; false when a file fails.
bool WriteWebIcons(const std::string& dir);

}  // namespace assetgen
