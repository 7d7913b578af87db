// Turns the finished resources into the C++ source of the embedded table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/assetgen/picture.h"

namespace assetgen {

struct Resource {
    std::string type;  // "PCT" or "WAVE"
    uint16_t id;
    std::vector<uint8_t> bytes;
    uint32_t unpacked = 0;  // the size before packing; 0 when stored as it is
    // When set, no bytes of its own: those of the pack (of several) held by
    // the resource of the same type with this id.
    std::optional<uint16_t> packedWith = std::nullopt;
};

// The stored PCT resource of one picture: its 5-6-5 bytes, compressed.
Resource EncodePicture(const Picture& picture);

// Every picture's PCT resource, or with `packed` packed together
// (resources/picture_pack.h) in two packs: the first screen's pictures, and
// the rest. The first of each pack holds it, the others share it, and each
// unpacks to a PCT resource decoding to exactly its pixels.
std::vector<Resource> PictureResources(const std::vector<Picture>& pictures, bool packed);

// Sorted by type, then id, as the table requires.
void SortResources(std::vector<Resource>& resources);

// Source implementing resources/resource_table.h over the given resources.
std::string TableSource(const std::vector<Resource>& resources);

}  // namespace assetgen
