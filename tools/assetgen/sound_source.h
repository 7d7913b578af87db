// The WAVE resources, taken from the sound bank when it is part of the build.
#pragma once

#include <vector>

#include "tools/assetgen/resource_source.h"

namespace assetgen {

std::vector<Resource> SoundResources();

}  // namespace assetgen
