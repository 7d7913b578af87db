// RIFF WAVE encoding of 8-bit mono sounds as the game's loader expects them:
// a 16-byte "fmt " chunk directly followed by "data", then optional extra
// chunks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/assetgen/sounds/synth.h"

namespace soundbank {

struct RiffChunk {
  std::string tag;  // four characters
  std::vector<uint8_t> body;
};

// Rounds to unsigned 8-bit around 128 with a triangular dither that shrinks to
// nothing in silence, so quiet passages stay at exactly 128. The result has
// `dataBytes` bytes: the signal, then silence.
std::vector<uint8_t> Quantise(const Signal& signal, size_t dataBytes, Rng& rng);

std::vector<uint8_t> EncodeWave(uint32_t rate, const std::vector<uint8_t>& data,
                                const std::vector<RiffChunk>& trailing);

// An "INFO" list naming the sound.
RiffChunk InfoList(const std::string& name);

// A "DISP" chunk carrying a clipboard text (format 1).
RiffChunk DisplayText(const std::string& text);

}  // namespace soundbank
