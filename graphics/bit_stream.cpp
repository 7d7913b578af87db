#include "graphics/bit_stream.h"

namespace gfx {

// The last few bytes, one at a time, so nothing past the stream is read.
uint32_t BitReader::PeekNearEnd(uint64_t at) const {
    const uint64_t byte = at >> 3;
    uint64_t word = 0;
    for (uint64_t i = byte; i < byte + 8; ++i) word = (word << 8) | (i < size_ ? bytes_[i] : 0u);
    return static_cast<uint32_t>((word << (at & 7)) >> 32);
}

}  // namespace gfx
