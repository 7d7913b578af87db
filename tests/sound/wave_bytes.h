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
    uint32_t chunkSize = 16;  // declared size; a small one pads the body to it
};

class WaveBytes {
public:
    explicit WaveBytes(const FormatFields& format = {}) {
        Tag("RIFF");
        Le(0, 4);  // never looked at
        Tag("WAVE");
        Tag("fmt ");
        Le(format.chunkSize, 4);
        Le(format.formatTag, 2);
        Le(format.channels, 2);
        Le(format.rate, 4);
        Le(format.rate * format.channels * format.bits / 8, 4);
        Le(static_cast<uint32_t>(format.channels * format.bits / 8), 2);
        Le(format.bits, 2);
        for (uint32_t i = 16; i < format.chunkSize && i < 64; ++i) bytes.push_back(0);
    }

    WaveBytes& Chunk(const std::string& tag, const std::vector<uint8_t>& body) {
        return ChunkDeclaring(tag, static_cast<uint32_t>(body.size()), body);
    }

    // A chunk whose header claims `declared` bytes whatever the body holds.
    WaveBytes& ChunkDeclaring(const std::string& tag, uint32_t declared, const std::vector<uint8_t>& body) {
        Tag(tag.c_str());
        Le(declared, 4);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }

    std::vector<uint8_t> bytes;

private:
    void Tag(const char* tag) { bytes.insert(bytes.end(), tag, tag + 4); }
    void Le(uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
};

}  // namespace soundtest
