#include "graphics/picture_cache.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/lz77.h"
#include "platform/platform.h"

namespace gfx {
namespace {

struct KeptPicture {
    uint16_t id;
    uint32_t offset;
    uint32_t size;
};

struct Kept {
    std::vector<KeptPicture> pictures;  // in id order
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> scratch;
};

Kept g_kept;

void Keep(uint16_t id, const plat::ResourceData& resource, void* /*context*/) {
    // A token takes at least 9 bits and gives at most 32 bytes: room for
    // all that the stream can decode to, whatever size it is loaded at.
    const uint64_t streamBits = resource.size > 4 ? uint64_t{resource.size - 4} * 8 : 0;
    g_kept.scratch.resize(static_cast<size_t>((streamBits / 9 + 1) * 32));
    const uint32_t size = DecodeResource(resource, g_kept.scratch.data(), static_cast<uint32_t>(g_kept.scratch.size()));
    g_kept.pictures.push_back({id, static_cast<uint32_t>(g_kept.bytes.size()), size});
    g_kept.bytes.insert(g_kept.bytes.end(), g_kept.scratch.begin(), g_kept.scratch.begin() + size);
}

const KeptPicture* FindKept(uint16_t id) {
    const auto hit = std::lower_bound(g_kept.pictures.begin(), g_kept.pictures.end(), id,
                                      [](const KeptPicture& p, uint16_t key) { return p.id < key; });
    return hit != g_kept.pictures.end() && hit->id == id ? &*hit : nullptr;
}

}  // namespace

void KeepAllPictures() {
    if (!g_kept.pictures.empty()) return;
    plat::ForEachResource("PCT", Keep, nullptr);
    g_kept.bytes.shrink_to_fit();
    g_kept.scratch = {};
}

size_t KeptPictureBytes() { return g_kept.bytes.capacity() + g_kept.pictures.capacity() * sizeof(KeptPicture); }

bool LoadPictureBytes(uint16_t id, uint8_t* out, uint32_t capacity) {
    plat::ResourceData resource{};
    if (!plat::FindResource("PCT", id, resource)) return false;
    if (const KeptPicture* kept = FindKept(id)) {
        std::memcpy(out, g_kept.bytes.data() + kept->offset, std::min(kept->size, capacity));
    } else {
        DecodeResource(resource, out, capacity);
    }
    return true;
}

}  // namespace gfx
