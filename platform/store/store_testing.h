// Test hooks for the object store. Tests include this header; the game never does.
#pragma once

#include <cstdint>
#include <string>

#include "platform/store/store.h"

namespace plat::testing {

// Closes the store as a crash would: open keys and databases are gone and an
// uncommitted batch is lost. The next store call opens the file again, in the
// folder the environment names at that moment.
void CloseStore();

// The file the store uses, or would use when it opens next.
std::string StorePath();

// Caps the store file at `pages` database pages (0 lifts the cap) so that
// writes run out of room. Lasts until the store is closed.
void LimitStorePages(uint32_t pages);

}  // namespace plat::testing
