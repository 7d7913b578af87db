#include "tests/game/failing_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_failSize{0};

}  // namespace

namespace gametest {

void FailNothrowAllocationsOf(std::size_t size) { g_failSize = size; }

}  // namespace gametest

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (size == g_failSize) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
