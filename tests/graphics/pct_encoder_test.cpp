#include "tools/pctcodec/pct_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/lz77.h"
#include "tests/graphics/stream_builder.h"

namespace {

constexpr uint8_t kUntouched = 0xEE;

// Encodes, decodes through the game's decoder into a slightly larger buffer
// and checks the picture comes back exactly with at most one surplus byte.
void ExpectRoundTrip(const std::vector<uint8_t>& raw, const char* what) {
    const std::vector<uint8_t> resource = pctcodec::EncodePct(raw.data(), raw.size());
    ASSERT_GE(resource.size(), 4u);
    ASSERT_EQ(pctcodec::StreamLength(resource), resource.size() - 4) << what;

    std::vector<uint8_t> out(raw.size() + 8, kUntouched);
    gfx::DecodeResource(gfxtest::View(resource), out.data(), static_cast<uint32_t>(out.size()));
    for (size_t i = 0; i < raw.size(); ++i) ASSERT_EQ(out[i], raw[i]) << what << " size " << raw.size() << " at " << i;
    size_t surplus = 0;
    while (raw.size() + surplus < out.size() && out[raw.size() + surplus] != kUntouched) ++surplus;
    EXPECT_LE(surplus, 1u) << what << " size " << raw.size();

    // At the picture's own size nothing is lost or spilled.
    std::vector<uint8_t> exact(raw.size() + 1, kUntouched);
    gfx::DecodeResource(gfxtest::View(resource), exact.data(), static_cast<uint32_t>(raw.size()));
    EXPECT_TRUE(std::equal(raw.begin(), raw.end(), exact.begin())) << what;
    EXPECT_EQ(exact.back(), kUntouched);
}

std::vector<uint8_t> RandomBytes(size_t n, std::mt19937& rng, uint32_t alphabet) {
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = static_cast<uint8_t>(rng() % alphabet);
    return v;
}

// Every small size and sizes around the window and the read block; every
// drawn picture's round trip is the asset tests', arbitrary bytes the fuzzer's.
TEST(PctEncoder, RoundTrips) {
    std::mt19937 rng(7);
    for (size_t n = 0; n <= 300; ++n) {
        ExpectRoundTrip(RandomBytes(n, rng, 256), "random");
        ExpectRoundTrip(RandomBytes(n, rng, 3), "three symbols");
        ExpectRoundTrip(std::vector<uint8_t>(n, 0x5A), "constant");
    }
    for (size_t n : {511u, 512u, 513u, 543u, 544u, 545u, 1087u, 1088u, 1089u, 4999u, 5000u, 5001u, 40000u}) {
        ExpectRoundTrip(RandomBytes(n, rng, 256), "random");
        ExpectRoundTrip(RandomBytes(n, rng, 4), "four symbols");
        std::vector<uint8_t> pattern(n);
        for (size_t i = 0; i < n; ++i) pattern[i] = static_cast<uint8_t>((i % 513) ^ (i / 700));
        ExpectRoundTrip(pattern, "long period");
    }
}

TEST(PctEncoder, CompressesRepetitionNearTheFormatsLimit) {
    // A match carries at most 32 bytes in 15 bits: about 17 to 1.
    const std::vector<uint8_t> zeros(153600, 0);
    const auto z = pctcodec::EncodePct(zeros.data(), zeros.size());
    EXPECT_LE(z.size(), 153600u / 32u * 15u / 8u + 8u);

    // Incompressible bytes cost 9 bits each at worst.
    std::mt19937 rng(5);
    const auto noise = RandomBytes(20000, rng, 256);
    EXPECT_LE(pctcodec::EncodePct(noise.data(), noise.size()).size(), 20000u * 9u / 8u + 8u);

    // A period of 12 is one literal run, then full-length matches.
    std::vector<uint8_t> periodic(3200);
    for (size_t i = 0; i < periodic.size(); ++i) periodic[i] = static_cast<uint8_t>(i % 12 + 1);
    const auto p = pctcodec::EncodePct(periodic.data(), periodic.size());
    const size_t bits = 12 * 9 + (3200 - 12 + 31) / 32 * 15;
    EXPECT_LE(p.size(), 4 + (bits + 7) / 8 + 1);
}

}  // namespace
