#include "tests/game/failing_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> g_fail{false};

}  // namespace

namespace gametest {

void FailNothrowAllocations(bool fail) { g_fail = fail; }

}  // namespace gametest

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_fail) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
