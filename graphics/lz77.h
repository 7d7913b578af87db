// Decoder for the PCT picture resources: a sliding-window (lz77) bit stream
// of 9-bit literals and 15-bit matches over a 512-byte history.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace gfx {

constexpr uint32_t kLzHistory = 512;

// Fills `out` with the decoded bytes of a resource and answers how many it
// wrote; bytes beyond `capacity` are dropped and a short stream leaves the
// rest of `out` as it was.
uint32_t DecodeResource(const plat::ResourceData& resource, uint8_t* out, uint32_t capacity);

}  // namespace gfx
