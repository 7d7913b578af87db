#include "tests/game/failing_new.h"

#include <atomic>
#include <new>

namespace {

std::atomic<std::size_t> g_failSize{0};

}  // namespace

namespace gametest {

void FailNothrowAllocationsOf(std::size_t size) { g_failSize = size; }

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
