#include "sound/sample.h"

#include <cstring>

#include "platform/platform.h"

namespace snd {

namespace {

constexpr uint32_t kRiffHeaderBytes = 12;
constexpr uint32_t kChunkHeaderBytes = 8;
constexpr uint32_t kFormatFieldBytes = 16;
// The mixer keeps positions as 24.8 fixed point.
constexpr uint32_t kMaxLength = 0x00FFFFFFu;
constexpr uint16_t kPcmFormat = 1;
// Below about 87 Hz the mixing step at 22050 Hz rounds to 0 and a voice would
// never reach its end; nothing the game plays is outside this range.
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 48000;

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool HasTag(const uint8_t* chunk, const char* tag) { return std::memcmp(chunk, tag, 4) == 0; }

}  // namespace

bool Sample::LoadFromResource(uint16_t id) {
    plat::ResourceData resource{};
    if (!plat::FindResource("WAVE", id, resource)) return false;
    return LoadFromBytes(resource.bytes, resource.size);
}

bool Sample::LoadFromBytes(const uint8_t* bytes, uint32_t size) {
    // Offsets are 64-bit so that no declared chunk size can wrap them.
    const uint64_t end = size;
    if (bytes == nullptr || end < kRiffHeaderBytes + kChunkHeaderBytes + kFormatFieldBytes) return false;
    if (!HasTag(bytes, "RIFF") || !HasTag(bytes + 8, "WAVE")) return false;
    const uint8_t* format = bytes + kRiffHeaderBytes;
    if (!HasTag(format, "fmt ") || Read32(format + 4) < kFormatFieldBytes) return false;
    const uint8_t* fields = format + kChunkHeaderBytes;
    const uint16_t formatTag = Read16(fields);
    const uint16_t channels = Read16(fields + 2);
    const uint32_t rate = Read32(fields + 4);
    const uint16_t bits = Read16(fields + 14);
    if (formatTag != kPcmFormat || bits != 8 || channels != 1 || rate < kMinRate || rate > kMaxRate) return false;

    uint64_t chunk = kRiffHeaderBytes + kChunkHeaderBytes + uint64_t{Read32(format + 4)};
    while (chunk + kChunkHeaderBytes <= end && !HasTag(bytes + chunk, "data"))
        chunk += kChunkHeaderBytes + uint64_t{Read32(bytes + chunk + 4)};
    if (chunk + kChunkHeaderBytes > end) return false;

    const uint32_t dataBytes = Read32(bytes + chunk + 4);
    if (dataBytes < 8 || chunk + kChunkHeaderBytes + dataBytes > end) return false;
    const uint32_t length = dataBytes - 8;
    if (length > kMaxLength) return false;
    data_ = bytes + chunk + kChunkHeaderBytes;
    sampleRate_ = rate;
    length_ = length;
    return true;
}

}  // namespace snd
