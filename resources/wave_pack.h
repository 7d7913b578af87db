// The sounds' packed form inside the program. Their 8-bit samples change
// little from one to the next, so each byte is kept as its difference from
// the byte before, in Rice codes whose parameter is chosen per block. Lossless:
// unpacking gives back every byte of the WAVE file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

std::vector<uint8_t> PackWave(const uint8_t* bytes, size_t size);

// Fills out with exactly `size` bytes; false when the packed bytes end early
// or hold a code no packer writes.
bool UnpackWave(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t size);

}  // namespace resources
