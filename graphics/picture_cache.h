// Every picture resource decoded once, at start-up, and kept for the
// program's run: a picture load then copies pixels rather than decoding
// them, so even a screen that loads a hundred pictures starts at once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gfx {

// Decodes every PCT resource and keeps the bytes; a second call keeps what
// the first made.
void KeepAllPictures();
// The memory the kept pictures take.
size_t KeptPictureBytes();

// Fills `out` with the first `capacity` decoded bytes of PCT resource `id`,
// kept or decoded now, and leaves the rest of `out` alone when the picture
// is shorter; false, with `out` untouched, when there is no such resource.
bool LoadPictureBytes(uint16_t id, uint8_t* out, uint32_t capacity);

// A surface over the kept pixels of picture `id` when they hold a whole
// width x height picture (and the picture was not asked for at another
// size before); null otherwise. Never to be drawn into.
class Surface;
Surface* KeptSurface(uint16_t id, uint16_t width, uint16_t height);

}  // namespace gfx
