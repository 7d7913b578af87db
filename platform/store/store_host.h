// What the program around the game keeps in the store: the desktop window's
// own preferences, in a table of their own beside the game's registry, and
// where the store's file is. The game never includes this header.
#pragma once

#include <cstdint>
#include <string>

#include "platform/store/store.h"

namespace plat {

// A read fails (kStoreFileNotFound) when nothing is stored under the name and
// leaves `value` alone; names compare without regard to case.
bool ReadHostPreference(const char* name, int32_t& value);
bool WriteHostPreference(const char* name, int32_t value);

// The file the store uses, or would use when it opens next.
std::string StorePath();

// Lets go of the file: open keys and databases are gone and a batch not yet
// committed is lost. The next store call opens the file again, in the folder
// the environment names at that moment.
void CloseStore();

}  // namespace plat
