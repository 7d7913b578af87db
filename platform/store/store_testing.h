// Test hooks for the object store. Tests include this header; the game never does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/store/store.h"
#include "platform/store/store_host.h"

namespace plat::testing {

// Closes the store as a crash would (plat::CloseStore).
using plat::CloseStore;

// Caps the store file at `pages` database pages (0 lifts the cap) so that
// writes run out of room. Lasts until the store is closed.
void LimitStorePages(uint32_t pages);

// Closes the store and opens, in memory, a copy of `image` as if it were the
// store file: checked and set up as a file is, and replaced by an empty store
// (with the message a damaged file gives) when it is unreadable. It lasts
// until the store is closed; nothing reaches the disk.
void OpenStoreImage(const std::vector<uint8_t>& image);

// The bytes of the open store's database, as a file of it would hold them.
std::vector<uint8_t> StoreImage();

// Runs SQL straight on the store, past every check: for tests that plant
// rows the program itself would never write.
bool ExecuteInStore(const char* sql);

}  // namespace plat::testing
