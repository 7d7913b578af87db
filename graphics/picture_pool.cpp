#include "graphics/picture_pool.h"

#include <cstring>
#include <new>

#include "graphics/picture_cache.h"

namespace gfx {
namespace {

// Sized by what play takes at once: labels and small effects, targets and
// puffs, the largest pop-ups, and the font strips the screens and the hunt
// load as they start.
struct SizeClass {
    uint32_t pixels;
    uint16_t slots;
};
constexpr SizeClass kClasses[] = {{1024, 96}, {2560, 64}, {8640, 16}, {15400, 8}};
constexpr uint32_t kSlotCount = 96 + 64 + 16 + 8;

struct Slot {
    Picture picture;
    Surface* surface = nullptr;  // over the pool's memory, never freed
    uint32_t capacity = 0;
    bool taken = false;
};

// Made once and kept to the end of the process, so that sprites destroyed
// late can still give their pictures back.
struct Pool {
    Slot slots[kSlotCount];
    uint32_t taken = 0;
};
Pool* g_pool = nullptr;

Slot* SlotOf(const Picture* picture) {
    if (g_pool == nullptr) return nullptr;
    for (Slot& slot : g_pool->slots) {
        if (&slot.picture == picture) return &slot;
    }
    return nullptr;
}

}  // namespace

void PreparePicturePool() {
    if (g_pool != nullptr) return;
    size_t pixels = 0;
    for (const SizeClass& c : kClasses) pixels += size_t{c.pixels} * c.slots;
    auto* pool = new (std::nothrow) Pool;
    // Zeroed now, so that no event pays for the first touch of its pages.
    auto* memory = new (std::nothrow) uint16_t[pixels]();
    if (pool == nullptr || memory == nullptr) {
        delete pool;
        delete[] memory;
        return;  // everything from the heap
    }
    uint32_t i = 0;
    for (const SizeClass& c : kClasses) {
        for (uint16_t n = 0; n < c.slots; ++n, ++i) {
            Slot& slot = pool->slots[i];
            slot.surface = new (std::nothrow) Surface(memory, 0, 0, 0);
            slot.capacity = slot.surface != nullptr ? c.pixels : 0;
            memory += c.pixels;
        }
    }
    g_pool = pool;
}

Picture* TakePicture(uint16_t width, uint16_t height) {
    const uint32_t need = uint32_t{width} * height;
    if (g_pool != nullptr) {
        // Slots go from the smallest class up: the first free one that fits.
        for (Slot& slot : g_pool->slots) {
            if (slot.taken || slot.capacity < need) continue;
            slot.taken = true;
            ++g_pool->taken;
            slot.surface->width = width;
            slot.surface->height = height;
            slot.surface->pitch = 2u * width;
            slot.surface->BeforeWrite();
            std::memset(slot.surface->pixels, 0, size_t{need} * 2);
            slot.picture.surface = slot.surface;
            slot.picture.width = width;
            slot.picture.height = height;
            return &slot.picture;
        }
    }
    auto* picture = new (std::nothrow) Picture;
    if (picture != nullptr) CreateBlankPicture(*picture, width, height);
    return picture;
}

Picture* TakeLoadedPicture(uint16_t id, uint16_t width, uint16_t height) {
    Picture* picture = TakePicture(width, height);
    if (picture != nullptr && picture->surface != nullptr && picture->width != 0) {
        Surface& s = *picture->surface;
        s.BeforeWrite();
        LoadPictureBytes(id, reinterpret_cast<uint8_t*>(s.pixels), s.pitch * s.height);
    }
    return picture;
}

void GivePicture(Picture* picture) {
    if (Slot* slot = SlotOf(picture)) {
        if (!slot->taken) return;
        slot->taken = false;
        --g_pool->taken;
        return;
    }
    delete picture;
}

uint32_t PicturesTaken() { return g_pool != nullptr ? g_pool->taken : 0; }

}  // namespace gfx
