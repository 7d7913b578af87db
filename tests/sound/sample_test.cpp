#include <gtest/gtest.h>

#include <vector>

#include "sound/sample.h"
#include "tests/sound/wave_bytes.h"

namespace {

using soundtest::FormatFields;
using soundtest::WaveBytes;

std::vector<uint8_t> Ramp(size_t n) {
    std::vector<uint8_t> body(n);
    for (size_t i = 0; i < n; ++i) body[i] = static_cast<uint8_t>(i * 7 + 3);
    return body;
}

bool Load(snd::Sample& sample, const std::vector<uint8_t>& bytes) {
    return sample.LoadFromBytes(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

std::vector<uint8_t> Plain(const FormatFields& format) { return WaveBytes(format).Chunk("data", Ramp(20)).bytes; }

TEST(SampleLoader, ReadsRateLengthAndBodyWalkingOverOtherChunks) {
    const WaveBytes plain = WaveBytes(FormatFields{.rate = 11025}).Chunk("data", Ramp(40));
    snd::Sample s;
    ASSERT_TRUE(Load(s, plain.bytes));
    EXPECT_EQ(s.SampleRate(), 11025u);
    EXPECT_EQ(s.Length(), 32u);  // the last 8 bytes never play
    EXPECT_EQ(s.Data(), plain.bytes.data() + 44);
    EXPECT_EQ(s.Volume(), 64);
    EXPECT_FALSE(s.Loop());

    // An 18-byte format chunk and an odd-sized LIST: the walk steps by the
    // declared sizes exactly.
    const WaveBytes walked =
        WaveBytes(FormatFields{.chunkSize = 18}).Chunk("LIST", Ramp(5)).Chunk("DISP", Ramp(12)).Chunk("data", Ramp(30));
    ASSERT_TRUE(Load(s, walked.bytes));
    EXPECT_EQ(s.Data(), walked.bytes.data() + 12 + 26 + 13 + 20 + 8);
    EXPECT_EQ(s.Length(), 22u);

    for (const uint32_t rate : {1000u, 48000u}) {
        ASSERT_TRUE(Load(s, Plain({.rate = rate})));
        EXPECT_EQ(s.SampleRate(), rate);
    }
    ASSERT_TRUE(Load(s, WaveBytes().Chunk("data", Ramp(8)).bytes));
    EXPECT_EQ(s.Length(), 0u);

    const std::pair<int32_t, int32_t> volumes[] = {{-1, 64}, {65, 64}, {0, 0}, {37, 37}};  // outside: full
    for (const auto& [set, want] : volumes) {
        s.SetVolume(set);
        EXPECT_EQ(s.Volume(), want) << set;
    }
}

TEST(SampleLoader, RefusesAnythingElseAndKeepsTheSampleAsItWas) {
    const auto spoiled = [](size_t at, size_t size) {
        std::vector<uint8_t> bytes = Plain({});
        bytes.resize(size);
        if (at < size) bytes[at] = 'L';
        return bytes;
    };
    WaveBytes cut = WaveBytes().Chunk("LIST", Ramp(4));
    cut.bytes.insert(cut.bytes.end(), {'d', 'a', 't', 'a', 20});
    const std::vector<uint8_t> refused[] = {
        Plain({.bits = 16}), Plain({.channels = 2}), Plain({.rate = 0}),
        Plain({.formatTag = 3}),  // compressed or floating-point data would be noise
        Plain({.rate = 86}),      // the step at 22050 Hz is 0: the voice would never end
        Plain({.rate = 999}), Plain({.rate = 48001}),
        Plain({.chunkSize = 14}),  // a format chunk too small for its fields
        Plain({.chunkSize = 0xFFFFFFFFu}),
        spoiled(0, 64), spoiled(8, 64), spoiled(12, 64),  // RIFF, WAVE, "fmt " out of place
        spoiled(64, 35),  // format fields cut short
        WaveBytes().Chunk("data", Ramp(7)).bytes,  // shorter than the 8 bytes that never play
        WaveBytes().Chunk("LIST", Ramp(10)).bytes,  // no data chunk
        // Chunk sizes that point far past the end, or wrap 32 bits.
        WaveBytes().ChunkDeclaring("LIST", 0xFFFFFFF0u, Ramp(4)).Chunk("data", Ramp(20)).bytes,
        cut.bytes,  // a header cut in half
        // More data than the resource holds would make the mixer read past it.
        WaveBytes().ChunkDeclaring("data", 400, Ramp(40)).bytes,
    };
    snd::Sample s;
    const std::vector<uint8_t> good = Plain({});
    ASSERT_TRUE(Load(s, good));
    for (size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(Load(s, refused[i])) << i;
        EXPECT_EQ(s.Data(), good.data() + 44) << i;
        EXPECT_EQ(s.Length(), 12u) << i;
    }
    EXPECT_FALSE(s.LoadFromBytes(nullptr, 100));
    snd::Sample fresh;
    EXPECT_FALSE(Load(fresh, refused[0]));
    EXPECT_EQ(fresh.Data(), nullptr);
}

}  // namespace
