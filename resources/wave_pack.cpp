#include "resources/wave_pack.h"

#include <algorithm>

#include "resources/range_coder.h"

namespace resources {

namespace {

constexpr uint32_t kLevels = 8;  // how far the last prediction missed, by powers of two

// The last two bytes carry on in a straight line, half as steeply.
uint8_t Predict(uint8_t last, uint8_t before) {
    return static_cast<uint8_t>(std::clamp((3 * last - before) / 2, 0, 255));
}

uint32_t Level(uint8_t miss) {
    const auto signedMiss = static_cast<int8_t>(miss);
    uint32_t size = static_cast<uint32_t>(signedMiss < 0 ? -signedMiss : signedMiss), level = 0;
    while (size != 0 && level + 1 < kLevels) {
        size >>= 1;
        ++level;
    }
    return level;
}

struct Model {
    Probability misses[kLevels][256];
    Model() { std::fill_n(&misses[0][0], kLevels * 256, kEven); }
};

}  // namespace

std::vector<uint8_t> PackWave(const uint8_t* bytes, size_t size) {
    RangeEncoder encoder;
    Model model;
    uint8_t last = 0x80, before = 0x80, miss = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint32_t level = Level(miss);
        miss = static_cast<uint8_t>(bytes[i] - Predict(last, before));
        encoder.EncodeTree(model.misses[level], miss, 8);
        before = last;
        last = bytes[i];
    }
    return encoder.Finish();
}

bool UnpackWave(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t size) {
    RangeDecoder decoder(packed, packedSize);
    Model model;
    uint8_t last = 0x80, before = 0x80, miss = 0;
    for (size_t i = 0; i < size; ++i) {
        const uint32_t level = Level(miss);
        miss = static_cast<uint8_t>(decoder.DecodeTree(model.misses[level], 8));
        out[i] = static_cast<uint8_t>(Predict(last, before) + miss);
        before = last;
        last = out[i];
    }
    return decoder.Intact();
}

}  // namespace resources
