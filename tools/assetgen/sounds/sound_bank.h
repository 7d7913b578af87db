// The game's nineteen sounds, synthesised: each is a complete RIFF WAVE file
// ready to be embedded as the WAVE resource of its id.
#pragma once

#include <cstdint>
#include <vector>

struct SoundAsset {
  uint16_t id;
  std::vector<uint8_t> wav;
};

std::vector<SoundAsset> BuildSounds();
