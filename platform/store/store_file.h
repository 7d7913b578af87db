// Opening the store's file: checked, set up, a damaged file set aside and a
// store in memory when no file can be had.
#pragma once

namespace plat::store {

// Opens the store when it is not open yet; false (kStoreNotEnoughMemory)
// only when not even a store in memory could be made.
bool EnsureOpen();

}  // namespace plat::store
