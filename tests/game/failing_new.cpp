#include "tests/game/failing_new.h"

#include <atomic>
#include <new>
#include <vector>

#include "graphics/picture_pool.h"

namespace {

std::atomic<std::size_t> g_failSize{0};
std::vector<gfx::Picture*> g_held;

}  // namespace

void gametest::HoldPicturePool() {
    uint32_t taken = 0;
    do {  // until a picture comes from the heap instead
        taken = gfx::PicturesTaken();
        g_held.push_back(gfx::TakePicture(1, 1));
    } while (gfx::PicturesTaken() != taken);
}

// Pictures come from the pool first: its slots are held, so that they come from the heap.
void gametest::FailNothrowAllocationsOf(std::size_t size) {
    if (size != 0) HoldPicturePool();
    g_failSize = size;
    if (size != 0) return;
    for (gfx::Picture* picture : g_held) gfx::GivePicture(picture);
    g_held.clear();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == g_failSize) return nullptr;
    try {  // from the ordinary new: the game frees with the ordinary delete
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }
