#include "resources/resource_table.h"

namespace resources {
const Entry* Table() { return nullptr; }
uint32_t TableSize() { return 0; }
const uint8_t* Blob() { return nullptr; }
}  // namespace resources
