// Decoder for the PCT picture resources: a sliding-window (lz77) bit stream
// of 9-bit literals and 15-bit matches over a 512-byte history.
#pragma once

#include <cstdint>

#include "graphics/bit_stream.h"
#include "platform/platform.h"

namespace gfx {

constexpr uint32_t kLzHistory = 512;
constexpr uint32_t kLzWindowSize = 1088;  // twice (history + longest token)

// The working buffer, zero-filled. Running out of memory here ends the
// process with status 1, as nothing can be drawn without it.
void AllocateWindow();
void FreeWindow();

// Decodes tokens from `in` to `out` until the reader reaches the final byte,
// finishing the token in progress, or until `out` is full.
void DecodeAll(BitStream* in, BitStream* out);

// Fills `out` with the decoded bytes of a resource and answers how many it
// wrote; bytes beyond `capacity` are dropped and a short stream leaves the
// rest of `out` as it was.
uint32_t DecodeResource(const plat::ResourceData& resource, uint8_t* out, uint32_t capacity);

// The same for PCT resource `id`; false, with `out` untouched, when the
// program holds no such resource.
bool DecodePicture(uint16_t id, uint8_t* out, uint32_t capacity);

}  // namespace gfx
