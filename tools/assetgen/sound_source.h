// The WAVE resources, taken from the sound bank when it is part of the build.
#pragma once

#include <vector>

#include "tools/assetgen/resource_source.h"

namespace assetgen {

// As WAVE files.
std::vector<Resource> SoundResources();
// As the program keeps them: packed.
std::vector<Resource> PackedSoundResources();

}  // namespace assetgen
