// The program's count of heap allocations since it started. Defined only in
// binaries that link reedshot_allocation_counter (the program, the benches).
#pragma once

#include <cstdint>

extern "C" uint64_t reedshot_allocation_count();
