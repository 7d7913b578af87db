#include "tools/assetgen/sound_source.h"

#include "resources/wave_pack.h"
#include "tools/assetgen/sounds/sound_bank.h"

namespace assetgen {

std::vector<Resource> SoundResources() {
    std::vector<Resource> out;
    for (SoundAsset& s : BuildSounds()) out.push_back({"WAVE", s.id, std::move(s.wav)});
    return out;
}

std::vector<Resource> PackedSoundResources() {
    std::vector<Resource> out = SoundResources();
    for (Resource& s : out) {
        s.unpacked = static_cast<uint32_t>(s.bytes.size());
        s.bytes = resources::PackWave(s.bytes.data(), s.bytes.size());
    }
    return out;
}

}  // namespace assetgen
