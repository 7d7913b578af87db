#include "tools/assetgen/sound_source.h"

#include "tools/assetgen/sounds/sound_bank.h"

namespace assetgen {

std::vector<Resource> SoundResources() {
    std::vector<Resource> out;
    for (SoundAsset& s : BuildSounds()) out.push_back({"WAVE", s.id, std::move(s.wav)});
    return out;
}

}  // namespace assetgen
