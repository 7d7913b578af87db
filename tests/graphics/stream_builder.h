// Builds PCT resources bit by bit, so decoder tests can state exact streams.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace gfxtest {

class StreamBuilder {
public:
    StreamBuilder& Bits(uint32_t value, int count) {
        for (int b = count - 1; b >= 0; --b) {
            if (used_ % 8 == 0) bytes_.push_back(0);
            if ((value >> b) & 1u) bytes_.back() = static_cast<uint8_t>(bytes_.back() | (0x80u >> (used_ % 8)));
            ++used_;
        }
        return *this;
    }
    StreamBuilder& Literal(uint8_t value) { return Bits(1, 1).Bits(value, 8); }
    StreamBuilder& Match(uint32_t n, uint32_t o) { return Bits(0, 1).Bits(n, 5).Bits(o, 9); }
    // Completes the byte in progress with zero bits.
    StreamBuilder& Pad() {
        used_ = bytes_.size() * 8;
        return *this;
    }
    StreamBuilder& Byte(uint8_t value) { return Pad().Bits(value, 8); }

    // The whole resource: length field, stream, optional trailing byte.
    std::vector<uint8_t> Resource(int trailing = -1) const {
        const auto length = static_cast<uint32_t>(bytes_.size());
        std::vector<uint8_t> r(4 + bytes_.size());
        for (int b = 0; b < 4; ++b) r[b] = static_cast<uint8_t>(length >> (8 * b));
        std::copy(bytes_.begin(), bytes_.end(), r.begin() + 4);
        if (trailing >= 0) r.push_back(static_cast<uint8_t>(trailing));
        return r;
    }

private:
    std::vector<uint8_t> bytes_;
    size_t used_ = 0;
};

inline plat::ResourceData View(const std::vector<uint8_t>& r) {
    return plat::ResourceData{r.data(), static_cast<uint32_t>(r.size())};
}

}  // namespace gfxtest
