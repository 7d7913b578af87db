#include "tools/pctcodec/pct_encoder.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/lz77.h"
#include "tests/graphics/stream_builder.h"

namespace {

// Sizes around the match length, the window and the read block, each decoded
// through the game's decoder: exact, with at most one surplus byte in a larger
// buffer and nothing spilled at the picture's own size. Every drawn
// picture's round trip is the asset tests', arbitrary bytes the fuzzer's.
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
            for (const size_t room : {n + 8, n}) {
                std::vector<uint8_t> out(n + 8, 0xEE);
                gfx::DecodeResource(gfxtest::View(resource), out.data(), static_cast<uint32_t>(room));
                ASSERT_TRUE(std::equal(raw.begin(), raw.end(), out.begin())) << n << " " << alphabet;
                size_t surplus = 0;
                while (n + surplus < out.size() && out[n + surplus] != 0xEE) ++surplus;
                EXPECT_LE(surplus, room == n ? 0u : 1u) << n << " " << alphabet;
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
