// Writes every synthesised sound to DIR/<id>.wav for listening and inspection.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/assetgen/sounds/sound_bank.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  for (const SoundAsset& sound : BuildSounds()) {
    const std::string path = std::string(argv[1]) + "/" + std::to_string(sound.id) + ".wav";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(sound.wav.data()), static_cast<std::streamsize>(sound.wav.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
