#include "resources/wave_pack.h"

namespace resources {

namespace {

constexpr size_t kBlock = 256;    // bytes sharing one Rice parameter
constexpr uint32_t kKeyBits = 3;  // the parameter's width: 0 to 7

// Differences of -128..127 as 0..255: small either way, small codes.
uint32_t Fold(uint8_t value, uint8_t before) {
    const auto d = static_cast<int8_t>(static_cast<uint8_t>(value - before));
    return d >= 0 ? 2u * static_cast<uint32_t>(d) : 2u * static_cast<uint32_t>(-d) - 1u;
}

uint8_t Unfold(uint32_t folded, uint8_t before) {
    const uint32_t magnitude = (folded + 1) >> 1;
    return static_cast<uint8_t>((folded & 1) != 0 ? before - magnitude : before + magnitude);
}

class BitWriter {
public:
    void Put(uint32_t value, uint32_t bits) {
        for (uint32_t i = bits; i-- > 0;) Bit((value >> i) & 1);
    }
    void Bit(uint32_t bit) {
        if (used_ == 0) out_.push_back(0);
        if (bit != 0) out_.back() = static_cast<uint8_t>(out_.back() | (0x80u >> used_));
        used_ = (used_ + 1) & 7;
    }
    std::vector<uint8_t>& Bytes() { return out_; }

private:
    std::vector<uint8_t> out_;
    uint32_t used_ = 0;
};

class BitReader {
public:
    BitReader(const uint8_t* bytes, size_t size) : bytes_(bytes), bits_(size * 8) {}
    bool Bit(uint32_t& bit) {
        if (at_ == bits_) return false;
        bit = (bytes_[at_ >> 3] >> (7 - (at_ & 7))) & 1;
        ++at_;
        return true;
    }
    bool Get(uint32_t bits, uint32_t& value) {
        value = 0;
        for (uint32_t i = 0, bit = 0; i < bits; ++i) {
            if (!Bit(bit)) return false;
            value = value << 1 | bit;
        }
        return true;
    }

private:
    const uint8_t* bytes_;
    size_t bits_;
    size_t at_ = 0;
};

uint32_t CodeBits(uint32_t folded, uint32_t key) { return (folded >> key) + 1 + key; }

}  // namespace

std::vector<uint8_t> PackWave(const uint8_t* bytes, size_t size) {
    BitWriter writer;
    uint8_t before = 0x80;
    for (size_t start = 0; start < size; start += kBlock) {
        const size_t end = start + kBlock < size ? start + kBlock : size;
        uint32_t best = 0;
        uint64_t bestBits = UINT64_MAX;
        for (uint32_t key = 0; key < (1u << kKeyBits); ++key) {
            uint64_t bits = 0;
            uint8_t last = before;
            for (size_t i = start; i < end; ++i) {
                bits += CodeBits(Fold(bytes[i], last), key);
                last = bytes[i];
            }
            if (bits < bestBits) {
                bestBits = bits;
                best = key;
            }
        }
        writer.Put(best, kKeyBits);
        for (size_t i = start; i < end; ++i) {
            const uint32_t folded = Fold(bytes[i], before);
            for (uint32_t q = folded >> best; q > 0; --q) writer.Bit(1);
            writer.Bit(0);
            writer.Put(folded, best);
            before = bytes[i];
        }
    }
    return std::move(writer.Bytes());
}

bool UnpackWave(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t size) {
    BitReader reader(packed, packedSize);
    uint8_t before = 0x80;
    uint32_t key = 0;
    for (size_t i = 0; i < size; ++i) {
        if (i % kBlock == 0 && !reader.Get(kKeyBits, key)) return false;
        uint32_t quotient = 0, bit = 0;
        for (;;) {
            if (!reader.Bit(bit)) return false;
            if (bit == 0) break;
            // No folded byte needs a longer run.
            if (++quotient > (255u >> key)) return false;
        }
        uint32_t rest = 0;
        if (!reader.Get(key, rest)) return false;
        const uint32_t folded = quotient << key | rest;
        if (folded > 255) return false;
        before = Unfold(folded, before);
        out[i] = before;
    }
    return true;
}

}  // namespace resources
