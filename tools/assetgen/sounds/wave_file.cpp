#include "tools/assetgen/sounds/wave_file.h"

#include <algorithm>
#include <cmath>

namespace soundbank {

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v & 0xFF));
  out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const std::string& tag) {
  for (size_t i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(i < tag.size() ? tag[i] : ' '));
}

// Chunk bodies of odd size are followed by a pad byte when another chunk comes
// after them, as RIFF readers expect.
void PutChunk(std::vector<uint8_t>& out, const std::string& tag, const std::vector<uint8_t>& body, bool padded) {
  PutTag(out, tag);
  Put32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (padded && body.size() % 2 != 0) out.push_back(0);
}

std::vector<uint8_t> ZeroTerminated(const std::string& text) {
  std::vector<uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

}  // namespace

std::vector<uint8_t> Quantise(const Signal& signal, size_t dataBytes, Rng& rng) {
  std::vector<uint8_t> out(dataBytes, 128);
  const size_t count = std::min(signal.size(), dataBytes);
  for (size_t i = 0; i < count; ++i) {
    const double x = signal[i];
    const double dither = (rng.Uniform() - rng.Uniform()) * std::min(1.0, std::fabs(x));
    const double v = std::clamp(std::round(128.0 + x + dither), 0.0, 255.0);
    out[i] = static_cast<uint8_t>(v);
  }
  return out;
}

std::vector<uint8_t> EncodeWave(uint32_t rate, const std::vector<uint8_t>& data,
                                const std::vector<RiffChunk>& trailing) {
  std::vector<uint8_t> format;
  Put16(format, 1);     // PCM
  Put16(format, 1);     // mono
  Put32(format, rate);
  Put32(format, rate);  // bytes per second
  Put16(format, 1);     // block align
  Put16(format, 8);     // bits per sample

  std::vector<uint8_t> body;
  PutTag(body, "WAVE");
  PutChunk(body, "fmt ", format, true);
  PutChunk(body, "data", data, !trailing.empty());
  for (size_t i = 0; i < trailing.size(); ++i)
    PutChunk(body, trailing[i].tag, trailing[i].body, i + 1 < trailing.size());

  std::vector<uint8_t> file;
  PutTag(file, "RIFF");
  Put32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

RiffChunk InfoList(const std::string& name) {
  RiffChunk list{"LIST", {}};
  PutTag(list.body, "INFO");
  PutChunk(list.body, "INAM", ZeroTerminated(name), true);
  PutChunk(list.body, "ISFT", ZeroTerminated("Reedshot assetgen"), true);
  return list;
}

RiffChunk DisplayText(const std::string& text) {
  RiffChunk disp{"DISP", {}};
  Put32(disp.body, 1);  // CF_TEXT
  const std::vector<uint8_t> bytes = ZeroTerminated(text);
  disp.body.insert(disp.body.end(), bytes.begin(), bytes.end());
  return disp;
}

}  // namespace soundbank
