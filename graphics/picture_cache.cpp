#include "graphics/picture_cache.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "graphics/lz77.h"
#include "graphics/surface.h"
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
    std::unique_ptr<Surface[]> surfaces;  // one per picture, set up on first use
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
    if (size % 2 != 0) g_kept.bytes.push_back(0);  // the next picture's pixels stay aligned
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
    g_kept.surfaces = std::make_unique<Surface[]>(g_kept.pictures.size());
}

size_t KeptPictureBytes() {
    return g_kept.bytes.capacity() + g_kept.pictures.capacity() * sizeof(KeptPicture) +
           (g_kept.surfaces != nullptr ? g_kept.pictures.size() * sizeof(Surface) : 0);
}

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

Surface* KeptSurface(uint16_t id, uint16_t width, uint16_t height) {
    const KeptPicture* kept = FindKept(id);
    // A stream may decode a byte past the picture; a short one cannot be shared.
    if (kept == nullptr || kept->size < uint32_t{width} * height * 2 || width == 0) return nullptr;
    Surface& surface = g_kept.surfaces[static_cast<size_t>(kept - g_kept.pictures.data())];
    if (surface.pixels == nullptr) {
        // The bytes of a decoded picture are its rows of 5-6-5 pixels.
        surface.pixels = reinterpret_cast<uint16_t*>(g_kept.bytes.data() + kept->offset);
        surface.width = width;
        surface.height = height;
        surface.pitch = 2u * width;
    }
    return surface.width == width && surface.height == height ? &surface : nullptr;
}

}  // namespace gfx
