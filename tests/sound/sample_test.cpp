#include <gtest/gtest.h>

#include <memory>
#include <random>
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

TEST(SampleLoader, PlainFileGivesRateLengthAndDataBody) {
    const WaveBytes wave = WaveBytes(FormatFields{.rate = 11025}).Chunk("data", Ramp(40));
    snd::Sample s;
    ASSERT_TRUE(Load(s, wave.bytes));
    EXPECT_EQ(s.SampleRate(), 11025u);
    EXPECT_EQ(s.Length(), 32u);  // the last 8 bytes never play
    EXPECT_EQ(s.Data(), wave.bytes.data() + 44);
    EXPECT_EQ(s.Volume(), 64);
    EXPECT_FALSE(s.Loop());
}

TEST(SampleLoader, RefusesAnythingButEightBitMonoAndKeepsTheSampleAsItWas) {
    snd::Sample s;
    const WaveBytes good = WaveBytes().Chunk("data", Ramp(20));
    ASSERT_TRUE(Load(s, good.bytes));
    const uint8_t* before = s.Data();
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.bits = 16}).Chunk("data", Ramp(20)).bytes));
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.channels = 2}).Chunk("data", Ramp(20)).bytes));
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.rate = 0}).Chunk("data", Ramp(20)).bytes));
    // Compressed or floating-point data read as 8-bit PCM would be noise.
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.formatTag = 3}).Chunk("data", Ramp(20)).bytes));
    // At 86 Hz the step at 22050 Hz is 0: the voice would never end.
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.rate = 86}).Chunk("data", Ramp(20)).bytes));
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.rate = 999}).Chunk("data", Ramp(20)).bytes));
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.rate = 48001}).Chunk("data", Ramp(20)).bytes));
    // A format chunk too small for its fields.
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.chunkSize = 14}).Chunk("data", Ramp(20)).bytes));
    EXPECT_EQ(s.Data(), before);
    EXPECT_EQ(s.Length(), 12u);

    snd::Sample fresh;
    EXPECT_FALSE(Load(fresh, WaveBytes(FormatFields{.bits = 16}).Chunk("data", Ramp(20)).bytes));
    EXPECT_EQ(fresh.Data(), nullptr);
}

TEST(SampleLoader, RateRangeEndsLoad) {
    snd::Sample s;
    ASSERT_TRUE(Load(s, WaveBytes(FormatFields{.rate = 1000}).Chunk("data", Ramp(20)).bytes));
    EXPECT_EQ(s.SampleRate(), 1000u);
    ASSERT_TRUE(Load(s, WaveBytes(FormatFields{.rate = 48000}).Chunk("data", Ramp(20)).bytes));
    EXPECT_EQ(s.SampleRate(), 48000u);
}

TEST(SampleLoader, RiffWaveAndFormatTagsMustStandInPlace) {
    snd::Sample s;
    for (const size_t at : {0u, 8u, 12u}) {
        WaveBytes wave = WaveBytes().Chunk("data", Ramp(20));
        wave.bytes[at] = 'L';
        EXPECT_FALSE(Load(s, wave.bytes)) << at;
    }
    WaveBytes wave = WaveBytes().Chunk("data", Ramp(20));
    EXPECT_FALSE(s.LoadFromBytes(nullptr, 100));
    EXPECT_FALSE(s.LoadFromBytes(wave.bytes.data(), 35));  // format fields cut short
}

TEST(SampleLoader, WalksOverChunksBeforeDataWithoutPadBytes) {
    // An 18-byte format chunk and an odd-sized LIST: the walk steps by the
    // declared sizes exactly.
    const WaveBytes wave =
        WaveBytes(FormatFields{.chunkSize = 18}).Chunk("LIST", Ramp(5)).Chunk("DISP", Ramp(12)).Chunk("data", Ramp(30));
    snd::Sample s;
    ASSERT_TRUE(Load(s, wave.bytes));
    EXPECT_EQ(s.Data(), wave.bytes.data() + 12 + 26 + 13 + 20 + 8);
    EXPECT_EQ(s.Length(), 22u);
    EXPECT_EQ(s.Data()[0], Ramp(1)[0]);
}

TEST(SampleLoader, DataChunkOfEightBytesIsEmptyButShorterIsRefused) {
    snd::Sample s;
    ASSERT_TRUE(Load(s, WaveBytes().Chunk("data", Ramp(8)).bytes));
    EXPECT_EQ(s.Length(), 0u);
    snd::Sample t;
    EXPECT_FALSE(Load(t, WaveBytes().Chunk("data", Ramp(7)).bytes));
}

TEST(SampleLoader, WalksThatLeaveTheResourceAreRefused) {
    snd::Sample s;
    // No data chunk at all.
    EXPECT_FALSE(Load(s, WaveBytes().Chunk("LIST", Ramp(10)).bytes));
    // A chunk size that points far past the end, or wraps 32 bits.
    EXPECT_FALSE(Load(s, WaveBytes().ChunkDeclaring("LIST", 0xFFFFFFF0u, Ramp(4)).Chunk("data", Ramp(20)).bytes));
    EXPECT_FALSE(Load(s, WaveBytes(FormatFields{.chunkSize = 0xFFFFFFFFu}).Chunk("data", Ramp(20)).bytes));
    // A header cut in half at the end.
    WaveBytes cut = WaveBytes().Chunk("LIST", Ramp(4));
    cut.bytes.insert(cut.bytes.end(), {'d', 'a', 't', 'a', 20});
    EXPECT_FALSE(Load(s, cut.bytes));
    // A data chunk claiming more bytes than the resource holds would make
    // the mixer read past it.
    EXPECT_FALSE(Load(s, WaveBytes().ChunkDeclaring("data", 400, Ramp(40)).bytes));
    EXPECT_EQ(s.Data(), nullptr);
}

TEST(SampleLoader, VolumeOutsideRangePlaysFull) {
    snd::Sample s;
    s.SetVolume(-1);
    EXPECT_EQ(s.Volume(), 64);
    s.SetVolume(65);
    EXPECT_EQ(s.Volume(), 64);
    s.SetVolume(0);
    EXPECT_EQ(s.Volume(), 0);
    s.SetVolume(37);
    EXPECT_EQ(s.Volume(), 37);
}

// Every load of arbitrary bytes either fails or describes bytes inside the
// buffer, including the one byte past `length` the mixer reads. The buffers
// are exactly sized so that ASan sees any read beyond them.
TEST(SampleLoader, RandomBytesNeverReachOutside) {
    std::mt19937 rng(12345);
    const std::vector<uint8_t> seed = WaveBytes().Chunk("LIST", Ramp(6)).Chunk("data", Ramp(24)).bytes;
    int loaded = 0;
    for (int round = 0; round < 20000; ++round) {
        const size_t size = rng() % 96;
        auto bytes = std::make_unique<uint8_t[]>(size);
        for (size_t i = 0; i < size; ++i) {
            // Mostly a valid file with a few bytes spoiled, so the walk gets far.
            const bool spoil = rng() % 20 == 0;
            bytes[i] = (i < seed.size() && !spoil) ? seed[i] : static_cast<uint8_t>(rng());
        }
        snd::Sample s;
        if (!s.LoadFromBytes(bytes.get(), static_cast<uint32_t>(size))) continue;
        ++loaded;
        ASSERT_GE(s.Data(), bytes.get());
        ASSERT_LT(s.Data() + s.Length(), bytes.get() + size);
    }
    EXPECT_GT(loaded, 100);
}

}  // namespace
