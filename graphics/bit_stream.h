// The bit stream under the picture decoder: the stream bytes of a PCT
// resource read most significant bit first, every bit past the last byte
// reading as 0.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace gfx {

class BitReader {
public:
    BitReader(const uint8_t* bytes, uint32_t size) : bytes_(bytes), size_(size) {}

    // The 32 bits from bit `at` on, the first of them in the top bit.
    uint32_t Peek(uint64_t at) const {
        const uint64_t byte = at >> 3;
        if (byte + 8 > size_) return PeekNearEnd(at);
        uint64_t word;
        std::memcpy(&word, bytes_ + byte, sizeof word);
        if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
        return static_cast<uint32_t>((word << (at & 7)) >> 32);
    }

    uint32_t Size() const { return size_; }

private:
    uint32_t PeekNearEnd(uint64_t at) const;

    const uint8_t* bytes_;
    uint32_t size_;
};

}  // namespace gfx
