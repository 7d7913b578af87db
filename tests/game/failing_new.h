// Makes the non-throwing allocations of one size fail while set (0: none), so
// that sprites cannot get their background buffers while the rest of the
// program allocates as usual. While set, every slot of the picture pool is held.
#pragma once

#include <cstddef>

namespace gametest {

void FailNothrowAllocationsOf(std::size_t size);
void HoldPicturePool();  // every free slot, until allocations fail of 0

}  // namespace gametest
