#include "tools/assetgen/sounds/sound_bank.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Expected {
  uint16_t id;
  uint32_t rate;
  uint32_t dataBytes;
  bool loops;
  std::vector<std::string> after;  // chunks after "data"
};

const std::vector<Expected> kTable = {
    {535, 22050, 84808, true, {}},   {537, 22050, 211806, true, {}}, {538, 22050, 5997, false, {}},
    {540, 22050, 6434, false, {}},   {543, 11025, 6207, false, {}},  {544, 11025, 2245, false, {}},
    {545, 22050, 30208, false, {"DISP", "DISP", "LIST"}},            {546, 11025, 792, false, {"LIST"}},
    {550, 22050, 17115, false, {}},  {551, 22050, 14403, false, {}}, {555, 22050, 15404, false, {}},
    {556, 22050, 14254, false, {}},  {557, 11025, 8384, false, {}},  {558, 44100, 41281, false, {}},
    {562, 22050, 17468, false, {}},  {563, 22050, 15670, false, {}}, {564, 22050, 25998, false, {}},
    {578, 22050, 12671, false, {}},  {579, 11025, 47037, false, {"LIST"}},
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<size_t>(i));
  return v;
}

std::string Tag(const std::vector<uint8_t>& b, size_t at) { return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4); }

// The file split the way a RIFF reader walks it (with pad bytes).
struct Parsed {
  uint32_t rate = 0, bits = 0, channels = 0, formatTag = 0, formatSize = 0;
  std::vector<std::string> tags;
  size_t dataOffset = 0;
  uint32_t dataSize = 0;
};

Parsed Parse(const std::vector<uint8_t>& wav) {
  Parsed p;
  EXPECT_EQ(Tag(wav, 0), "RIFF");
  EXPECT_EQ(Tag(wav, 8), "WAVE");
  EXPECT_EQ(Le(wav, 4, 4), wav.size() - 8);
  size_t at = 12;
  while (at + 8 <= wav.size()) {
    const std::string tag = Tag(wav, at);
    const uint32_t size = Le(wav, at + 4, 4);
    p.tags.push_back(tag);
    if (tag == "fmt ") {
      p.formatSize = size;
      p.formatTag = Le(wav, at + 8, 2);
      p.channels = Le(wav, at + 10, 2);
      p.rate = Le(wav, at + 12, 4);
      p.bits = Le(wav, at + 22, 2);
    } else if (tag == "data") {
      p.dataOffset = at + 8;
      p.dataSize = size;
    }
    at += 8 + size + (size % 2 != 0 && at + 8 + size < wav.size() ? 1 : 0);
  }
  EXPECT_EQ(at, wav.size()) << "chunks do not tile the file";
  return p;
}

const std::vector<SoundAsset>& Bank() {
  static const std::vector<SoundAsset> bank = BuildSounds();
  return bank;
}

const SoundAsset& Find(uint16_t id) {
  for (const SoundAsset& s : Bank())
    if (s.id == id) return s;
  ADD_FAILURE() << "no sound " << id;
  static const SoundAsset none{0, {}};
  return none;
}

// Each sound has its format, size and chunks; peaks leave headroom for two
// voices, the mean sits at 128, one-shots start and end in silence. The
// mixer's loop wraps from index `length` to index 1, so a loop's
// data[length] == data[0] and no step is audible there.
TEST(SoundBank, EverySoundHasItsFormatChunksAndLevels) {
  ASSERT_EQ(Bank().size(), kTable.size());
  for (const Expected& e : kTable) {
    SCOPED_TRACE(e.id);
    const std::vector<uint8_t>& wav = Find(e.id).wav;
    const Parsed p = Parse(wav);
    std::vector<std::string> tags = {"fmt ", "data"};
    tags.insert(tags.end(), e.after.begin(), e.after.end());
    EXPECT_EQ(p.tags, tags);
    EXPECT_EQ(std::vector<uint32_t>({p.formatSize, p.formatTag, p.channels, p.bits, p.rate}),
              std::vector<uint32_t>({16, 1, 1, 8, e.rate}));
    EXPECT_EQ(p.dataOffset, 44u);  // "data" directly after the 16-byte format chunk
    EXPECT_EQ(p.dataSize, e.dataBytes);

    const uint8_t* d = wav.data() + p.dataOffset;
    const size_t played = p.dataSize - 8;
    int peak = 0;
    int largestStep = 0;
    double sum = 0;
    for (size_t i = 0; i < played; ++i) {
      peak = std::max(peak, std::abs(d[i] - 128));
      if (i > 0) largestStep = std::max(largestStep, std::abs(d[i] - d[i - 1]));
      sum += d[i] - 128;
    }
    EXPECT_LE(peak, e.loops ? 55 : 100);
    EXPECT_GE(peak, e.loops ? 30 : 50) << "too quiet to be heard over the ambience";
    EXPECT_LT(std::fabs(sum / static_cast<double>(played)), 1.0);
    if (e.loops) {
      EXPECT_EQ(d[played], d[0]);
      EXPECT_LE(std::abs(d[played - 1] - d[0]), std::max(4, largestStep / 2));
      EXPECT_LE(std::abs(d[played] - d[1]), std::max(4, largestStep / 2));
    } else {
      EXPECT_LE(std::abs(d[0] - 128), 2);
      for (size_t i = played - 1; i < p.dataSize; ++i) EXPECT_EQ(d[i], 128) << i;
    }
  }
}

// 558 is decimated by two without a filter: little energy may lie above the
// output's Nyquist frequency.
TEST(SoundBank, FastRedBirdSoundIsBandLimited) {
  const std::vector<uint8_t>& wav = Find(558).wav;
  const Parsed p = Parse(wav);
  const size_t n = p.dataSize - 8;
  auto power = [&](double f) {
    double re = 0, im = 0;
    for (size_t i = 0; i < n; ++i) {
      const double x = wav[p.dataOffset + i] - 128.0, w = 2 * 3.14159265358979 * f * static_cast<double>(i) / 44100;
      re += x * std::cos(w);
      im += x * std::sin(w);
    }
    return re * re + im * im;
  };
  double low = 0, high = 0;
  for (double f = 155; f < 4000; f += 155) low += power(f);
  for (double f = 11500; f < 20000; f += 155) high += power(f);
  EXPECT_LT(high, low * 0.01);
}

TEST(SoundBank, BuildsAreByteIdentical) {
  const std::vector<SoundAsset> again = BuildSounds();
  ASSERT_EQ(again.size(), Bank().size());
  for (size_t i = 0; i < again.size(); ++i) {
    EXPECT_EQ(again[i].id, Bank()[i].id);
    EXPECT_TRUE(again[i].wav == Bank()[i].wav) << again[i].id;
  }
}

}  // namespace
