// Any picture bytes, encoded as the asset builder does and decoded as the
// game does, come back exactly.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz/require.h"
#include "graphics/lz77.h"
#include "tools/pctcodec/pct_encoder.h"

namespace {

// The encoder searches its whole window for every byte: longer inputs only
// slow the run without reaching new code.
constexpr size_t kMaxInput = 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxInput) return 0;
    const std::vector<uint8_t> resource = pctcodec::EncodePct(data, size);
    FUZZ_REQUIRE(resource.size() >= 4 && pctcodec::StreamLength(resource) == resource.size() - 4);
    std::vector<uint8_t> out(size + 1, 0);
    const uint32_t written = gfx::DecodeResource(
        plat::ResourceData{resource.data(), static_cast<uint32_t>(resource.size())}, out.data(),
        static_cast<uint32_t>(size));
    FUZZ_REQUIRE(written == size);
    FUZZ_REQUIRE(size == 0 || std::memcmp(out.data(), data, size) == 0);
    FUZZ_REQUIRE(out[size] == 0);
    return 0;
}
