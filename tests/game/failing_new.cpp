#include "tests/game/failing_new.h"

#include <atomic>
#include <new>
#include <vector>

#include "graphics/picture_pool.h"

namespace {

std::atomic<std::size_t> g_failSize{0};
std::vector<gfx::Picture*> g_held;  // every slot of the picture pool while failing

}  // namespace

namespace gametest {

void HoldPicturePool() {
    for (uint32_t n = gfx::PicturesTaken();; n = gfx::PicturesTaken()) {
        g_held.push_back(gfx::TakePicture(1, 1));
        if (gfx::PicturesTaken() == n) break;
    }
}

void FailNothrowAllocationsOf(std::size_t size) {
    // Pictures come from the pool first: hold its free slots, so that they
    // have to come from the heap.
    if (size != 0) HoldPicturePool();
    g_failSize = size;
    if (size != 0) return;
    for (gfx::Picture* picture : g_held) gfx::GivePicture(picture);
    g_held.clear();
}

}  // namespace gametest

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == g_failSize) return nullptr;
    // From the ordinary new: the game frees with the ordinary delete.
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }
