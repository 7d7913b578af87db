#include "graphics/lz77.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/assets/reference_decoder.h"
#include "tests/graphics/stream_builder.h"

namespace {

using gfxtest::StreamBuilder;

constexpr uint8_t kUntouched = 0xEE;

// Bytes written before the first untouched one.
size_t Produced(const std::vector<uint8_t>& out) {
    size_t n = 0;
    while (n < out.size() && out[n] != kUntouched) ++n;
    return n;
}

// Decodes into a buffer of `capacity` bytes preset to kUntouched; the
// streams here never produce that byte, so the decoder's count must agree.
std::vector<uint8_t> Decode(const std::vector<uint8_t>& resource, size_t capacity) {
    std::vector<uint8_t> out(capacity, kUntouched);
    const uint32_t written = gfx::DecodeResource(gfxtest::View(resource), out.data(), static_cast<uint32_t>(out.size()));
    EXPECT_EQ(written, Produced(out));
    return out;
}

// Hand-built streams at the format's edges: each decodes to what the
// reference decoder makes of it, producing this many bytes. Random streams
// against the reference are the decoder fuzzer's.
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
    const struct {
        const char* what;
        std::vector<uint8_t> resource;
        size_t capacity, produced;
    } cases[] = {
        {"overlapping matches", overlaps.Resource(), 200, 3 + 12 + 32 + 32 + 1},
        // 123 bits: the pad bits of byte 15 start one more match, of one zero.
        {"a short-distance pattern", literals(12, 1, 256).Match(31, 500).Byte(0).Resource(), 100, 45},
        // 5415 bits: even the one pad bit before the final byte starts a token.
        {"the slide keeps 512 bytes", literals(600, 7, 200).Match(31, 0).Byte(0).Resource(), 700, 633},
        // 27 bits end 3 bits into the final byte; its 5 leftover bits never start a literal.
        {"a token running into the final byte", literals(3, 1, 256).Bits(0x1F, 5).Resource(), 10, 3},
        // Eight literals fill exactly 9 bytes; the final byte is only fetched.
        {"ending on the last bit before the final byte", literals(8, 1, 256).Byte(0xFF).Resource(), 20, 8},
        // 79 literals end 7 bits into byte 88, a match flag takes its last bit;
        // o's low 6 bits past the final byte read as 0: o = 448.
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
    gfx::DecodeResource(plat::ResourceData{nullptr, 0}, out.data(), 8);
    EXPECT_EQ(Produced(out), 0u);
}

}  // namespace
