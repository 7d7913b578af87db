#include "resources/range_coder.h"

namespace resources {

namespace {

constexpr uint32_t kAdapt = 4;  // how fast a probability follows what it sees
constexpr uint32_t kTop = 1u << 24;

void Learn(Probability& p, uint32_t bit) {
    if (bit == 0) {
        p = static_cast<Probability>(p + ((65536u - p) >> kAdapt));
    } else {
        p = static_cast<Probability>(p - (p >> kAdapt));
    }
}

}  // namespace

void RangeEncoder::Encode(Probability& p, uint32_t bit) {
    const uint32_t bound = (range_ >> 16) * p;
    if (bit == 0) {
        range_ = bound;
    } else {
        low_ += bound;
        range_ -= bound;
    }
    Learn(p, bit);
    while (range_ < kTop) {
        range_ <<= 8;
        ShiftLow();
    }
}

void RangeEncoder::EncodeTree(Probability* tree, uint32_t value, uint32_t bits) {
    uint32_t node = 1;
    for (uint32_t i = bits; i-- > 0;) {
        const uint32_t bit = (value >> i) & 1;
        Encode(tree[node], bit);
        node = node << 1 | bit;
    }
}

// A byte is held back while a carry from below could still change it.
void RangeEncoder::ShiftLow() {
    if (low_ < 0xFF000000ull || low_ >= (1ull << 32)) {
        const auto carry = static_cast<uint8_t>(low_ >> 32);
        uint8_t byte = cache_;
        do {
            out_.push_back(static_cast<uint8_t>(byte + carry));
            byte = 0xFF;
        } while (--pending_ != 0);
        cache_ = static_cast<uint8_t>(low_ >> 24);
    }
    ++pending_;
    low_ = (low_ & 0x00FFFFFFull) << 8;
}

std::vector<uint8_t> RangeEncoder::Finish() {
    for (int i = 0; i < 5; ++i) ShiftLow();
    return std::move(out_);
}

RangeDecoder::RangeDecoder(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {
    for (int i = 0; i < 5; ++i) code_ = code_ << 8 | Next();
}

uint32_t RangeDecoder::Decode(Probability& p) {
    const uint32_t bound = (range_ >> 16) * p;
    uint32_t bit = 0;
    if (code_ < bound) {
        range_ = bound;
    } else {
        code_ -= bound;
        range_ -= bound;
        bit = 1;
    }
    Learn(p, bit);
    while (range_ < kTop) {
        range_ <<= 8;
        code_ = code_ << 8 | Next();
    }
    return bit;
}

uint32_t RangeDecoder::DecodeTree(Probability* tree, uint32_t bits) {
    uint32_t node = 1;
    for (uint32_t i = 0; i < bits; ++i) node = node << 1 | Decode(tree[node]);
    return node - (1u << bits);
}

}  // namespace resources
