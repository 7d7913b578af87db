#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

inline std::vector<uint8_t> ReferenceDecode(const uint8_t* resource, size_t size, size_t capacity) {
    std::vector<uint8_t> out;
    if (size < 4) return out;
    const uint32_t length = resource[0] | (resource[1] << 8) | (resource[2] << 16) | (uint32_t{resource[3]} << 24);
    const uint8_t* stream = resource + 4;
    size_t next = 1;
    uint8_t current = length > 0 ? stream[0] : 0;
    int bit = 7;
    bool ended = length <= 1;
    auto readBit = [&]() -> uint32_t {
        const uint32_t b = bit >= 0 ? (current >> bit) & 1u : 0u;
        --bit;
        if (bit < 0 && !ended) {
            current = stream[next++];
            ended = next == length;
            bit = 7;
        }
        return b;
    };
    auto read = [&](int n) {
        uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = (v << 1) | readBit();
        return v;
    };
    std::vector<uint8_t> history(512, 0);  // the 512 bytes before the output
    auto emit = [&](uint8_t b) {
        history.push_back(b);
        if (out.size() < capacity) out.push_back(b);
    };
    while (!ended) {
        if (read(1) == 1) {
            emit(static_cast<uint8_t>(read(8)));
        } else {
            const uint32_t n = read(5) + 1, o = read(9);
            const size_t from = history.size() - 512 + o;
            for (uint32_t k = 0; k < n; ++k) emit(history[from + k]);
        }
    }
    return out;
}
