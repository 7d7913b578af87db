// Makes the non-throwing allocations of one size fail while set, so that
// sprites cannot get their background buffers (gfx::Picture) while the
// rest of the program allocates as usual.
#pragma once

#include <cstddef>

namespace gametest {

// 0: nothing fails. While set, every slot of the picture pool is held.
void FailNothrowAllocationsOf(std::size_t size);
// Holds every free slot of the picture pool (until allocations fail of 0).
void HoldPicturePool();

}  // namespace gametest
