#include "tools/assetgen/sounds/sound_bank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

namespace {

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<size_t>(i));
  return v;
}

// Headroom for two voices; a loop's data[length] == data[0], as the mixer wraps to index 1.
TEST(SoundBank, EverySoundHasItsFormatChunksAndLevels) {
  const struct {
    uint16_t id;
    uint32_t rate, dataBytes;
    bool loops;
    const char* after;  // chunks after "data"
  } table[] = {
      {535, 22050, 84808, true, ""},   {537, 22050, 211806, true, ""},  {538, 22050, 5997, false, ""},
      {540, 22050, 6434, false, ""},   {543, 11025, 6207, false, ""},   {544, 11025, 2245, false, ""},
      {545, 22050, 30208, false, "DISPDISPLIST"},                       {546, 11025, 792, false, "LIST"},
      {550, 22050, 17115, false, ""},  {551, 22050, 14403, false, ""},  {555, 22050, 15404, false, ""},
      {556, 22050, 14254, false, ""},  {557, 11025, 8384, false, ""},   {558, 44100, 41281, false, ""},
      {562, 22050, 17468, false, ""},  {563, 22050, 15670, false, ""},  {564, 22050, 25998, false, ""},
      {578, 22050, 12671, false, ""},  {579, 11025, 47037, false, "LIST"},
  };
  const std::vector<SoundAsset> bank = BuildSounds();
  ASSERT_EQ(bank.size(), std::size(table));
  for (size_t n = 0; n < bank.size(); ++n) {
    const auto& e = table[n];
    SCOPED_TRACE(e.id);
    ASSERT_EQ(bank[n].id, e.id);
    const std::vector<uint8_t>& wav = bank[n].wav;
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4) + std::string(wav.begin() + 8, wav.begin() + 12), "RIFFWAVE");
    EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
    std::string tags;
    size_t at = 12;
    for (uint32_t size = 0; at + 8 <= wav.size(); at += 8 + size + (size % 2 != 0 && at + 8 + size < wav.size() ? 1 : 0)) {
      size = Le(wav, at + 4, 4);
      tags.append(wav.begin() + static_cast<long>(at), wav.begin() + static_cast<long>(at) + 4);
    }
    EXPECT_EQ(at, wav.size()) << "chunks do not tile the file";
    EXPECT_EQ(tags, std::string("fmt data") + e.after);
    // Size, PCM, mono, 8 bits, rate; "data" directly after the 16-byte format chunk.
    EXPECT_EQ(std::vector<uint32_t>({Le(wav, 16, 4), Le(wav, 20, 2), Le(wav, 22, 2), Le(wav, 34, 2), Le(wav, 24, 4), Le(wav, 40, 4)}),
              std::vector<uint32_t>({16, 1, 1, 8, e.rate, e.dataBytes}));

    const uint8_t* d = wav.data() + 44;
    const size_t played = e.dataBytes - 8;
    int peak = 0, largestStep = 0;
    double sum = 0;
    for (size_t i = 0; i < played; ++i) {
      peak = std::max(peak, std::abs(d[i] - 128));
      if (i > 0) largestStep = std::max(largestStep, std::abs(d[i] - d[i - 1]));
      sum += d[i] - 128;
    }
    EXPECT_TRUE(peak <= (e.loops ? 55 : 100) && peak >= (e.loops ? 30 : 50)) << "peak " << peak;
    EXPECT_LT(std::fabs(sum / static_cast<double>(played)), 1.0);
    if (e.loops) {
      EXPECT_EQ(d[played], d[0]);
      EXPECT_LE(std::max(std::abs(d[played - 1] - d[0]), std::abs(d[played] - d[1])), std::max(4, largestStep / 2));
    } else {
      EXPECT_LE(std::abs(d[0] - 128), 2);
      for (size_t i = played - 1; i < e.dataBytes; ++i) EXPECT_EQ(d[i], 128) << i;
    }
    if (e.id != 558) continue;
    // 558 is decimated by two without a filter: little energy may lie above the output's Nyquist frequency.
    const auto power = [&](double f) {
      std::complex<double> acc = 0;
      for (size_t i = 0; i < played; ++i) acc += (d[i] - 128.0) * std::polar(1.0, 2 * std::numbers::pi * f * static_cast<double>(i) / 44100);
      return std::norm(acc);
    };
    double low = 0, high = 0;
    for (double f = 155; f < 4000; f += 155) low += power(f);
    for (double f = 11500; f < 20000; f += 155) high += power(f);
    EXPECT_LT(high, low * 0.01);
  }
}

}  // namespace
