// Makes every non-throwing allocation fail while set, so that sprites
// cannot get their background buffers.
#pragma once

namespace gametest {

void FailNothrowAllocations(bool fail);

}  // namespace gametest
