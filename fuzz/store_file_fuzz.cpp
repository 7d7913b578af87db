// A damaged or random store file: opened, its settings and high scores read,
// written and read again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/store_session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::testing::Reset();
    // A message about an unreadable file may come before the run starts.
    plat::testing::OpenStoreImage(std::vector<uint8_t>(data, data + size));
    plat::testing::Reset();
    fuzzstore::RunTwice();
    return 0;
}
