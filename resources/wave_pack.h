// The sounds' packed form inside the program. Their 8-bit samples change
// smoothly, so each byte is coded as how far it misses a prediction from the
// two before it, with a range coder whose model learns, per sound, how large
// the misses are after a miss of each size. Lossless: unpacking gives back
// every byte of the WAVE file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

std::vector<uint8_t> PackWave(const uint8_t* bytes, size_t size);

// Fills out with exactly `size` bytes; false when the packed bytes end early.
bool UnpackWave(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t size);

}  // namespace resources
