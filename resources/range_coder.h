// An adaptive binary range coder: every decision is coded with a probability
// that learns from the decisions made before it in the same context, so what
// the model finds likely costs a fraction of a bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace resources {

// The chance that the next decision is 0, in 65536ths.
using Probability = uint16_t;
constexpr Probability kEven = 0x8000;

class RangeEncoder {
public:
    void Encode(Probability& p, uint32_t bit);
    // The low `bits` bits of value, most significant first; `tree` holds
    // 1 << bits probabilities, one per prefix.
    void EncodeTree(Probability* tree, uint32_t value, uint32_t bits);
    std::vector<uint8_t> Finish();

private:
    void ShiftLow();

    std::vector<uint8_t> out_;
    uint64_t low_ = 0;
    uint32_t range_ = 0xFFFFFFFFu;
    uint8_t cache_ = 0;
    uint64_t pending_ = 1;  // the cached byte and the 0xFF bytes a carry may still change
};

class RangeDecoder {
public:
    RangeDecoder(const uint8_t* bytes, size_t size);
    uint32_t Decode(Probability& p);
    uint32_t DecodeTree(Probability* tree, uint32_t bits);
    // False once more bytes were asked for than the encoder wrote.
    bool Intact() const { return at_ <= size_; }

private:
    uint32_t Next() { return at_ < size_ ? bytes_[at_++] : (++at_, 0u); }

    const uint8_t* bytes_;
    size_t size_;
    size_t at_ = 0;
    uint32_t range_ = 0xFFFFFFFFu;
    uint32_t code_ = 0;
};

}  // namespace resources
