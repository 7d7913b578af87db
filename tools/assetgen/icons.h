// The desktop icons: the flying duck of the hunt over a marsh sky, drawn at
// every size a desktop asks for.
#pragma once

#include <string>

namespace assetgen {

// Sizes of the hicolor theme, in pixels.
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// Writes DIR/NxN/apps/reedshot.png for every size; false when a file fails.
bool WriteIcons(const std::string& dir);

}  // namespace assetgen
