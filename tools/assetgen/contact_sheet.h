// A contact sheet of every picture as the player sees it, for looking over.
#pragma once

#include <string>

#include "tools/assetgen/catalogue.h"

namespace assetgen {

// Key pixels show a checkerboard; each picture is labelled with its id.
bool WriteContactSheet(const PictureList& pictures, const std::string& pngPath);

}  // namespace assetgen
