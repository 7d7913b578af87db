// Black pictures for sprites (background buffers, rendered text) from fixed
// slots made once at start-up, so that a target, an effect or a new label
// during play never reaches the heap.
#pragma once

#include <cstdint>

#include "graphics/picture.h"

namespace gfx {

// Makes the slots; later calls do nothing. Until then every picture comes
// from the heap.
void PreparePicturePool();
// A black width x height picture: a slot that fits when one is free, the
// heap otherwise. Null when out of memory.
Picture* TakePicture(uint16_t width, uint16_t height);
// TakePicture filled with picture resource `id`.
Picture* TakeLoadedPicture(uint16_t id, uint16_t width, uint16_t height);
// Back to its slot, or freed when it came from the heap. Null is ignored.
void GivePicture(Picture* picture);
// Slots in use (for tests).
uint32_t PicturesTaken();

}  // namespace gfx
