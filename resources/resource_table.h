// The pictures and sounds built into the program. The table and the bytes are
// generated at build time by the asset builder (tools/assetgen).
#pragma once

#include <cstdint>

namespace resources {

struct Entry {
    char type[8];     // "PCT" or "WAVE", zero-terminated
    uint16_t id;
    uint32_t offset;  // into Blob()
    uint32_t size;
    uint32_t unpacked;  // the size once unpacked (resources/wave_pack.h); 0: stored as it is
};

// Entries sorted by type, then id.
const Entry* Table();
uint32_t TableSize();
const uint8_t* Blob();

}  // namespace resources
