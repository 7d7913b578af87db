// The pictures' packed form inside the browser build. All pictures are coded
// in one stream, pixel by pixel: a pixel is most often the same as in the
// frame before (animations) or one of its neighbours (left, above, above
// right, above left), else its red, green and blue are
// coded as their differences from a prediction from the neighbours. One
// adaptive model learns across all pictures, so they are unpacked together.
// Lossless: each picture unpacks to a PCT resource whose stream decodes to
// exactly the bytes the packed one decoded to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

struct PictureBytes {
    uint16_t id;
    uint16_t width;              // in pixels: the rows the model looks along
    std::vector<uint8_t> bytes;  // packing: the decoded picture; unpacking: its PCT resource
};

std::vector<uint8_t> PackPictures(const std::vector<PictureBytes>& pictures);

// False, with `out` incomplete, when the packed bytes are cut short or were
// not written by PackPictures.
bool UnpackPictures(const uint8_t* packed, size_t size, std::vector<PictureBytes>& out);

// A PCT resource decoding to exactly these bytes: literals, and copies of the
// pixel before or the row above.
std::vector<uint8_t> EncodeRuns(const uint8_t* bytes, size_t size, uint32_t width);

}  // namespace resources
