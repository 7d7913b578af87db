// Encoder for the game's compressed picture resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pctcodec {

// Compresses raw picture bytes (little-endian 5-6-5, row after row) into a
// whole PCT resource: the 4-byte little-endian stream length L, then the L
// stream bytes. Decoding it yields exactly the input, followed by at most one
// surplus byte that a picture of the input's size drops.
std::vector<uint8_t> EncodePct(const uint8_t* raw, size_t size);

// The stream length L recorded at the front of a resource, or 0 for a
// resource too short to hold one.
uint32_t StreamLength(const std::vector<uint8_t>& resource);

}  // namespace pctcodec
