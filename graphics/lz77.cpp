// The history is the output itself: a match copies from up to 512 bytes back
// in `out`, and reads zeros before its start. Each token starts only while
// the stream's final byte is still ahead; bits past the end read as 0.
#include "graphics/lz77.h"

#include <algorithm>
#include <cstring>

#include "graphics/bit_stream.h"

namespace gfx {
namespace {

constexpr uint32_t kLiteralBits = 9;
constexpr uint32_t kMatchBits = 15;
// The fast loop may write up to 40 bytes past a match's start; it keeps this
// far from the buffer's end and, in stream bits, far enough from the stream's
// end that the tokens still to come overwrite all of it.
constexpr uint32_t kSpill = 64;
constexpr uint64_t kSpillBits = uint64_t{kSpill} * kMatchBits;

template <size_t N>
void CopyChunk(uint8_t* to, const uint8_t* from) {
    uint8_t chunk[N];
    std::memcpy(chunk, from, N);
    std::memcpy(to, chunk, N);
}

// A match of 1..32 bytes from `distance` back, in whole chunks. Every chunk
// reads only bytes that are final by then, so overlapping matches repeat.
void CopyMatchSpilling(uint8_t* to, uint32_t distance, uint32_t length) {
    const uint8_t* from = to - distance;
    if (distance >= 16) {
        CopyChunk<16>(to, from);
        CopyChunk<16>(to + 16, from + 16);
    } else if (distance >= 8) {
        for (uint32_t i = 0; i < 32; i += 8) CopyChunk<8>(to + i, from + i);
    } else {
        for (uint32_t i = 0; i < 8; ++i) to[i] = from[i];
        // The run repeats with the distance, so with any multiple of it.
        const uint32_t period = 8 / distance * distance;
        for (uint32_t i = period; i < length; i += period) CopyChunk<8>(to + i, to + i - period);
    }
}

// Byte by byte: history before the output's start reads as zeros.
void CopyMatchExact(uint8_t* out, uint32_t at, uint32_t distance, uint32_t length) {
    for (uint32_t k = at; k < at + length; ++k) out[k] = k >= distance ? out[k - distance] : 0;
}

}  // namespace

uint32_t DecodeResource(const plat::ResourceData& resource, uint8_t* out, uint32_t capacity) {
    if (resource.bytes == nullptr || resource.size < 4 || out == nullptr) return 0;
    const uint8_t* b = resource.bytes;
    const uint32_t stated = b[0] | (uint32_t{b[1]} << 8) | (uint32_t{b[2]} << 16) | (uint32_t{b[3]} << 24);
    const BitReader in(b + 4, std::min(stated, resource.size - 4));
    if (in.Size() < 2) return 0;  // the only byte is the final one: no token starts
    const uint64_t tokensEnd = uint64_t{in.Size() - 1} * 8;
    const uint64_t fastBitsEnd = tokensEnd > kSpillBits ? tokensEnd - kSpillBits : 0;
    const uint32_t fastOutEnd = capacity > kSpill ? capacity - kSpill : 0;
    uint64_t bit = 0;
    uint32_t at = 0;
    while (bit < fastBitsEnd && at < fastOutEnd) {
        const uint32_t v = in.Peek(bit);
        if ((v >> 31) != 0) {
            out[at++] = static_cast<uint8_t>(v >> 23);
            bit += kLiteralBits;
            continue;
        }
        const uint32_t length = ((v >> 26) & 31) + 1;
        const uint32_t distance = kLzHistory - ((v >> 17) & 511);
        bit += kMatchBits;
        if (distance <= at) {
            CopyMatchSpilling(out + at, distance, length);
        } else {
            CopyMatchExact(out, at, distance, length);
        }
        at += length;
    }
    while (bit < tokensEnd && at < capacity) {
        const uint32_t v = in.Peek(bit);
        if ((v >> 31) != 0) {
            out[at++] = static_cast<uint8_t>(v >> 23);
            bit += kLiteralBits;
            continue;
        }
        const uint32_t length = std::min(((v >> 26) & 31) + 1, capacity - at);
        CopyMatchExact(out, at, kLzHistory - ((v >> 17) & 511), length);
        bit += kMatchBits;
        at += length;
    }
    return at;
}

}  // namespace gfx
