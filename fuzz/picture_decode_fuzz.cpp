// Arbitrary bytes as a picture resource: the decoder's output must match the
// independent reference decoder's and never reach past the caller's buffer.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/require.h"
#include "graphics/lz77.h"
#include "tests/assets/reference_decoder.h"

namespace {

constexpr uint8_t kGuard = 0xA5;
constexpr size_t kGuardBytes = 16;
constexpr uint32_t kMaxCapacity = 8192;  // the cost is in the picture's size now, so keep it small

}  // namespace

// Input: two bytes of buffer size, then the resource.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint32_t capacity = (data[0] | uint32_t{data[1]} << 8) % (kMaxCapacity + 1);
    // An exactly sized copy, so that any read past the resource is caught.
    const size_t resourceSize = size - 2;
    std::unique_ptr<uint8_t[]> resource(new uint8_t[resourceSize]);
    if (resourceSize != 0) std::memcpy(resource.get(), data + 2, resourceSize);

    std::vector<uint8_t> out(capacity + kGuardBytes, kGuard);
    const uint32_t written = gfx::DecodeResource(
        plat::ResourceData{resource.get(), static_cast<uint32_t>(resourceSize)}, out.data(), capacity);
    for (size_t i = capacity; i < out.size(); ++i) FUZZ_REQUIRE(out[i] == kGuard);

    // The reference trusts the length field; the decoder cuts it to the bytes there.
    std::vector<uint8_t> trimmed(resource.get(), resource.get() + resourceSize);
    if (trimmed.size() >= 4) {
        const uint32_t length = trimmed[0] | trimmed[1] << 8 | trimmed[2] << 16 | uint32_t{trimmed[3]} << 24;
        const auto cut = static_cast<uint32_t>(trimmed.size() - 4);
        if (length > cut) {
            for (int b = 0; b < 4; ++b) trimmed[static_cast<size_t>(b)] = static_cast<uint8_t>(cut >> (8 * b));
        }
    }
    const std::vector<uint8_t> expected = ReferenceDecode(trimmed.data(), trimmed.size(), capacity);
    FUZZ_REQUIRE(written == expected.size());
    FUZZ_REQUIRE(expected.empty() || std::memcmp(out.data(), expected.data(), expected.size()) == 0);
    return 0;
}
