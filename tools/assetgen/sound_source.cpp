#include "tools/assetgen/sound_source.h"

#ifdef REEDSHOT_HAVE_SOUNDBANK
#include "tools/assetgen/sounds/sound_bank.h"
#endif

namespace assetgen {

std::vector<Resource> SoundResources() {
    std::vector<Resource> out;
#ifdef REEDSHOT_HAVE_SOUNDBANK
    for (SoundAsset& s : BuildSounds()) out.push_back({"WAVE", s.id, std::move(s.wav)});
#endif
    return out;
}

}  // namespace assetgen
