// Builds RIFF WAVE files byte by byte, so tests can shape every chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundtest {

struct FormatFields {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 8;
    uint32_t chunkSize = 16;  // declared size; a larger one pads the body to it
};

struct WaveBytes {
    explicit WaveBytes(const FormatFields& f = {}) {
        Tag("RIFF").Le(0, 4).Tag("WAVE").Tag("fmt ").Le(f.chunkSize, 4).Le(f.formatTag, 2).Le(f.channels, 2).Le(f.rate, 4);
        Le(f.rate * f.channels * f.bits / 8, 4).Le(static_cast<uint32_t>(f.channels * f.bits / 8), 2).Le(f.bits, 2);
        for (uint32_t i = 16; i < f.chunkSize && i < 64; ++i) bytes.push_back(0);
    }
    // A chunk whose header claims `declared` bytes (default: what the body holds).
    WaveBytes& Chunk(const char* tag, const std::vector<uint8_t>& body, uint32_t declared = ~0u) {
        Tag(tag).Le(declared == ~0u ? static_cast<uint32_t>(body.size()) : declared, 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    WaveBytes& Tag(const char* tag) {
        bytes.insert(bytes.end(), tag, tag + 4);
        return *this;
    }
    WaveBytes& Le(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }

    std::vector<uint8_t> bytes;
};

}  // namespace soundtest
