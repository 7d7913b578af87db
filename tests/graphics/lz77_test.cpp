#include "graphics/lz77.h"

#include <gtest/gtest.h>

#include <random>
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

TEST(Lz77Tokens, MatchesReadTheZeroHistoryAndRepeatOverlaps) {
    // Starts with a match: history is zeros. Then overlap with o = 511 (one
    // back) and o = 500 (a 12-byte pattern), and length field 0 copying one.
    StreamBuilder b;
    b.Match(2, 0);  // 3 zeros
    for (uint8_t v = 1; v <= 12; ++v) b.Literal(v);
    b.Match(31, 511).Match(31, 500).Match(0, 511).Byte(0);
    const auto out = Decode(b.Resource(), 200);
    ASSERT_EQ(Produced(out), 3u + 12u + 32u + 32u + 1u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(out[i], 0);
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(out[15 + i], 12) << i;
    // o = 500 starts 12 bytes back: the 32 copies of 12 repeat.
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(out[47 + i], 12) << i;
    EXPECT_EQ(out[79], 12);
}

TEST(Lz77Tokens, ShortDistancePatternRepeats) {
    StreamBuilder b;
    for (uint8_t v = 1; v <= 12; ++v) b.Literal(v);
    b.Match(31, 500).Byte(0);
    const auto out = Decode(b.Resource(), 100);
    // 123 bits: the pad bits of byte 15 start one more match, of one zero.
    ASSERT_EQ(Produced(out), 45u);
    for (size_t i = 0; i < 44; ++i) EXPECT_EQ(out[i], i % 12 + 1) << i;
    EXPECT_EQ(out[44], 0);
}

TEST(Lz77Tokens, SlideKeepsExactly512BytesOfHistory) {
    StreamBuilder b;
    for (int i = 0; i < 600; ++i) b.Literal(static_cast<uint8_t>(i * 7 % 200 + 1));
    // 5415 bits: even the one pad bit before the final byte starts a token.
    b.Match(31, 0).Byte(0);
    const auto out = Decode(b.Resource(), 700);
    ASSERT_EQ(Produced(out), 633u);
    for (size_t i = 0; i < 32; ++i) EXPECT_EQ(out[600 + i], out[88 + i]) << i;
}

TEST(Lz77Ending, TokenRunningIntoFinalByteCompletesAndNothingFollows) {
    // Three literals take 27 bits: the third ends 3 bits into byte 3, the
    // final byte. Its 5 leftover bits would start a literal but never do.
    StreamBuilder b;
    b.Literal(0x41).Literal(0x42).Literal(0x43).Bits(0x1F, 5);
    const auto r = b.Resource();
    ASSERT_EQ(r.size(), 4u + 4u);
    const auto out = Decode(r, 10);
    ASSERT_EQ(Produced(out), 3u);
    EXPECT_EQ(out[2], 0x43);
}

TEST(Lz77Ending, TokenEndingOnLastBitBeforeFinalByteIsTheLast) {
    // Eight literals fill exactly 9 bytes; the tenth (final) byte is only
    // fetched, never decoded.
    StreamBuilder b;
    for (uint8_t v = 1; v <= 8; ++v) b.Literal(v);
    b.Byte(0xFF);
    const auto out = Decode(b.Resource(), 20);
    ASSERT_EQ(Produced(out), 8u);
    EXPECT_EQ(out[7], 8);
}

TEST(Lz77Ending, BitsPastTheFinalByteReadAsZero) {
    // 79 literals end 7 bits into byte 88; a match flag takes its last bit.
    // The final byte holds n = 3 and o's top bits 111; o's other 6 bits read
    // as 0, so o = 448: a copy from 64 bytes back.
    StreamBuilder b;
    for (int i = 0; i < 79; ++i) b.Literal(static_cast<uint8_t>(i + 1));
    b.Bits(0, 1).Bits(3, 5).Bits(0x7, 3);
    const auto r = b.Resource();
    ASSERT_EQ(r.size(), 4u + 90u);
    const auto out = Decode(r, 100);
    ASSERT_EQ(Produced(out), 83u);
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(out[79 + k], out[15 + k]) << k;
}

TEST(Lz77Ending, TrailingByteNeverMatters) {
    StreamBuilder b;
    b.Literal(9).Literal(8).Match(3, 510).Byte(0);
    const auto plain = Decode(b.Resource(), 16);
    EXPECT_EQ(Decode(b.Resource(0xFF), 16), plain);
    EXPECT_EQ(Decode(b.Resource(0x00), 16), plain);
    // 33 bits: the pad bits of byte 4 start a one-byte match.
    EXPECT_EQ(Produced(plain), 7u);
}

TEST(Lz77Ending, StreamsAcrossTheReadBlockBoundary) {
    // 5000 stream bytes fill one read block exactly; the rest come from a
    // refill. 4500 literals take 5062.5 bytes.
    StreamBuilder b;
    for (int i = 0; i < 4500; ++i) b.Literal(static_cast<uint8_t>(i % 200));
    b.Byte(0);
    const auto out = Decode(b.Resource(), 4600);
    ASSERT_EQ(Produced(out), 4501u);  // and one from the pad bits
    for (size_t i = 0; i < 4500; ++i) ASSERT_EQ(out[i], i % 200) << i;
}

TEST(Lz77Capacity, ShortAndLongPictures) {
    StreamBuilder b;
    for (uint8_t v = 1; v <= 8; ++v) b.Literal(v);
    b.Byte(0);
    // A larger picture keeps its own bytes past the stream's end.
    const auto big = Decode(b.Resource(), 16);
    EXPECT_EQ(Produced(big), 8u);
    // A smaller one receives only the first bytes.
    const auto small = Decode(b.Resource(), 4);
    EXPECT_EQ(small, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_TRUE(Decode(b.Resource(), 0).empty());
}

TEST(Lz77Robustness, DegenerateResourcesDecodeNothing) {
    const std::vector<std::vector<uint8_t>> cases = {
        {},                      // no length field
        {1, 0},                  // half a length field
        {0, 0, 0, 0},            // empty stream
        {1, 0, 0, 0, 0x80},      // one byte: final at once
        {0xFF, 0xFF, 0xFF, 0xFF, 0x80},  // length far beyond the data
    };
    for (const auto& r : cases) {
        const auto out = Decode(r, 8);
        EXPECT_EQ(Produced(out), 0u) << r.size();
    }
    std::vector<uint8_t> out(8, kUntouched);
    gfx::DecodeResource(plat::ResourceData{nullptr, 0}, out.data(), 8);
    EXPECT_EQ(Produced(out), 0u);
}

TEST(Lz77Robustness, LengthBeyondResourceIsCutToTheBytesThere) {
    StreamBuilder b;
    for (uint8_t v = 1; v <= 8; ++v) b.Literal(v);
    b.Byte(0);
    auto r = b.Resource();
    r[0] = 0xFF;  // claims 255 stream bytes, holds 10
    EXPECT_EQ(Produced(Decode(r, 20)), 8u);
}

TEST(Lz77Robustness, RandomStreamsMatchTheReferenceInsideTheBuffers) {
    // Address sanitizer builds turn any stray access here into a failure.
    // Every other stream is built of tokens as pictures have them, mostly
    // matches from a few bytes back, so that overlapping runs and the ends
    // of the buffer and the stream fall anywhere in a token.
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        std::vector<uint8_t> r(rng() % 12000);
        for (auto& byte : r) byte = static_cast<uint8_t>(rng());
        if (round % 4 == 0) {
            StreamBuilder b;
            for (size_t tokens = rng() % 8000; tokens-- > 0;) {
                const auto pick = static_cast<uint32_t>(rng() % 10);
                const auto n = static_cast<uint32_t>(rng() % 32);
                const auto near = static_cast<uint32_t>(511 - rng() % 40);
                const auto far = static_cast<uint32_t>(rng() % 512);
                if (pick < 3) b.Literal(static_cast<uint8_t>(near));
                else b.Match(n, pick < 9 ? near : far);
            }
            r = b.Byte(static_cast<uint8_t>(rng())).Resource();
        }
        const size_t size = r.size();
        if (size >= 4 && round % 2 == 0) {
            const auto length = static_cast<uint32_t>(size - 4);
            for (int k = 0; k < 4; ++k) r[static_cast<size_t>(k)] = static_cast<uint8_t>(length >> (8 * k));
        }
        const size_t capacity = rng() % 30000;
        std::vector<uint8_t> out(capacity + 16, kUntouched);
        const uint32_t written = gfx::DecodeResource(gfxtest::View(r), out.data(), static_cast<uint32_t>(capacity));
        for (size_t i = written; i < out.size(); ++i) ASSERT_EQ(out[i], kUntouched) << round;
        if (round % 2 == 0) {
            const std::vector<uint8_t> expected = ReferenceDecode(r.data(), r.size(), capacity);
            ASSERT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + written), expected) << round;
        }
    }
}

}  // namespace
