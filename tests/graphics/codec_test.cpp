#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/lz77.h"
#include "platform/platform.h"
#include "tests/assets/reference_decoder.h"
#include "tools/pctcodec/pct_encoder.h"

namespace {

// Builds PCT resources bit by bit, so tests can state exact streams.
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

plat::ResourceData View(const std::vector<uint8_t>& r) { return plat::ResourceData{r.data(), static_cast<uint32_t>(r.size())}; }

constexpr uint8_t kUntouched = 0xEE;

// Bytes written before the first untouched one.
size_t Produced(const std::vector<uint8_t>& out) {
    size_t n = 0;
    while (n < out.size() && out[n] != kUntouched) ++n;
    return n;
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& resource, size_t capacity) {
    std::vector<uint8_t> out(capacity, kUntouched);
    const uint32_t written = gfx::DecodeResource(View(resource), out.data(), static_cast<uint32_t>(out.size()));
    EXPECT_EQ(written, Produced(out));
    return out;
}

// Hand-built edge streams; random ones against the reference are the fuzzer's.
TEST(Lz77, EdgeStreamsDecodeAsTheReferenceDoes) {
    const auto literals = [](int count, int step, int mod) {
        StreamBuilder b;
        for (int i = 0; i < count; ++i) b.Literal(static_cast<uint8_t>(i * step % mod + 1));
        return b;
    };
    StreamBuilder overlaps;  // history starts as zeros; o = 511 is one back, o = 500 twelve
    overlaps.Match(2, 0);
    for (uint8_t v = 1; v <= 12; ++v) overlaps.Literal(v);
    overlaps.Match(31, 511).Match(31, 500).Match(0, 511).Byte(0);
    auto claimsMore = literals(8, 1, 256).Byte(0).Resource();
    claimsMore[0] = 0xFF;  // claims 255 stream bytes, holds 10
    const struct { const char* what; std::vector<uint8_t> resource; size_t capacity, produced; } cases[] = {
        {"overlapping matches", overlaps.Resource(), 200, 3 + 12 + 32 + 32 + 1},
        // 123 bits: the pad bits of byte 15 start one more match, of one zero.
        {"a short-distance pattern", literals(12, 1, 256).Match(31, 500).Byte(0).Resource(), 100, 45},
        // 5415 bits: even the one pad bit before the final byte starts a token.
        {"the slide keeps 512 bytes", literals(600, 7, 200).Match(31, 0).Byte(0).Resource(), 700, 633},
        // 27 bits end 3 bits into the final byte; its 5 leftover bits never start a literal.
        {"a token running into the final byte", literals(3, 1, 256).Bits(0x1F, 5).Resource(), 10, 3},
        // Eight literals fill exactly 9 bytes; the final byte is only fetched.
        {"ending on the last bit before the final byte", literals(8, 1, 256).Byte(0xFF).Resource(), 20, 8},
        {"bits past the final byte", literals(79, 1, 256).Bits(0, 1).Bits(3, 5).Bits(0x7, 3).Resource(), 100, 83},
        {"trailing 0xFF", literals(2, 1, 256).Match(3, 510).Byte(0).Resource(0xFF), 16, 7},
        {"trailing 0x00", literals(2, 1, 256).Match(3, 510).Byte(0).Resource(0x00), 16, 7},
        // 5000 stream bytes fill one read block; the rest come from a refill.
        {"across the read block", literals(4500, 1, 200).Byte(0).Resource(), 4600, 4501},
        {"a larger picture", literals(8, 1, 256).Byte(0).Resource(), 16, 8},
        {"a smaller picture", literals(8, 1, 256).Byte(0).Resource(), 4, 4},
        {"no room", literals(8, 1, 256).Byte(0).Resource(), 0, 0},
        {"a length beyond the resource", claimsMore, 20, 8},
        {"no length field", {}, 8, 0},
        {"half a length field", {1, 0}, 8, 0},
        {"an empty stream", {0, 0, 0, 0}, 8, 0},
        {"one byte: final at once", {1, 0, 0, 0, 0x80}, 8, 0},
        {"a length far beyond the data", {0xFF, 0xFF, 0xFF, 0xFF, 0x80}, 8, 0},
    };
    for (const auto& c : cases) {
        const auto out = Decode(c.resource, c.capacity);
        EXPECT_EQ(Produced(out), c.produced) << c.what;
        const size_t size = c.resource.size();
        if (size < 4 || c.resource[0] + (c.resource[1] << 8) > static_cast<int>(size - 4)) continue;  // the reference would overrun
        EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + static_cast<long>(Produced(out))),
                  ReferenceDecode(c.resource.data(), c.resource.size(), c.capacity))
            << c.what;
    }
    std::vector<uint8_t> out(8, kUntouched);
    EXPECT_TRUE(gfx::DecodeResource(plat::ResourceData{nullptr, 0}, out.data(), 8) == 0 && Produced(out) == 0u);
}

// Sizes around the match length, window and read block; arbitrary bytes are the fuzzer's.
TEST(PctEncoder, RoundTripsAndCompressesNearTheFormatsLimit) {
    std::mt19937 rng(7);
    for (size_t n : {0u, 1u, 2u, 31u, 32u, 33u, 300u, 511u, 512u, 513u, 544u, 545u, 1088u, 1089u, 4999u, 5000u, 5001u, 40000u}) {
        for (uint32_t alphabet : {256u, 3u, 1u}) {
            std::vector<uint8_t> raw(n);
            for (auto& b : raw) b = static_cast<uint8_t>(rng() % alphabet);
            if (alphabet == 1) {
                for (size_t i = 0; i < n; ++i) raw[i] = static_cast<uint8_t>((i % 513) ^ (i / 700));  // a long period
            }
            const std::vector<uint8_t> resource = pctcodec::EncodePct(raw.data(), raw.size());
            ASSERT_EQ(pctcodec::StreamLength(resource), resource.size() - 4) << n;
            for (const size_t room : {n + 8, n}) {  // at most one byte of surplus, none past the room
                std::vector<uint8_t> out(n + 8, 0xEE);
                gfx::DecodeResource(View(resource), out.data(), static_cast<uint32_t>(room));
                ASSERT_TRUE(std::equal(raw.begin(), raw.end(), out.begin())) << n << " " << alphabet;
                EXPECT_TRUE(out[n + 1] == 0xEE && (room > n || out[n] == 0xEE)) << n << " " << alphabet;
            }
        }
    }
    // A match carries at most 32 bytes in 15 bits: about 17 to 1.
    const std::vector<uint8_t> zeros(153600, 0);
    EXPECT_LE(pctcodec::EncodePct(zeros.data(), zeros.size()).size(), 153600u / 32u * 15u / 8u + 8u);
    // Incompressible bytes cost 9 bits each at worst.
    std::vector<uint8_t> noise(20000);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    EXPECT_LE(pctcodec::EncodePct(noise.data(), noise.size()).size(), 20000u * 9u / 8u + 8u);
    // A period of 12 is one literal run, then full-length matches.
    std::vector<uint8_t> periodic(3200);
    for (size_t i = 0; i < periodic.size(); ++i) periodic[i] = static_cast<uint8_t>(i % 12 + 1);
    EXPECT_LE(pctcodec::EncodePct(periodic.data(), periodic.size()).size(), 4 + (12 * 9 + (3200 - 12 + 31) / 32 * 15 + 7) / 8 + 1);
}

}  // namespace
