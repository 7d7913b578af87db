// Resources are the tables the asset builder compiles into the program.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "resources/picture_pack.h"
#include "resources/resource_table.h"
#include "resources/wave_pack.h"

namespace plat {

namespace {

const resources::Entry* Find(const char* type, uint16_t id) {
    const resources::Entry* begin = resources::Table();
    const resources::Entry* end = begin + resources::TableSize();
    auto before = [](const resources::Entry& e, const std::pair<const char*, uint16_t>& key) {
        const int order = std::strcmp(e.type, key.first);
        return order < 0 || (order == 0 && e.id < key.second);
    };
    const resources::Entry* hit = std::lower_bound(begin, end, std::make_pair(type, id), before);
    return hit != end && std::strcmp(hit->type, type) == 0 && hit->id == id ? hit : nullptr;
}

size_t IndexOf(const resources::Entry& entry) { return static_cast<size_t>(&entry - resources::Table()); }

// A packed resource, unpacked on its first lookup and kept: empty when its
// bytes do not unpack. Pictures are packed together, so the first lookup of
// one unpacks them all.
const std::vector<uint8_t>& Unpacked(const resources::Entry& entry) {
    static std::vector<std::vector<uint8_t>> unpacked(resources::TableSize());
    static std::vector<bool> tried(resources::TableSize());
    const size_t index = IndexOf(entry);
    if (tried[index]) return unpacked[index];
    tried[index] = true;
    if (std::strcmp(entry.type, "PCT") == 0) {
        std::vector<resources::PictureBytes> pictures;
        // What unpacked before a fault is still good.
        resources::UnpackPictures(resources::Blob() + entry.offset, entry.size, pictures);
        for (resources::PictureBytes& p : pictures) {
            if (const resources::Entry* e = Find("PCT", p.id); e != nullptr && e->offset == entry.offset) {
                tried[IndexOf(*e)] = true;
                unpacked[IndexOf(*e)] = std::move(p.bytes);
            }
        }
    } else {
        std::vector<uint8_t> bytes(entry.unpacked);
        if (resources::UnpackWave(resources::Blob() + entry.offset, entry.size, bytes.data(), bytes.size())) {
            unpacked[index] = std::move(bytes);
        }
    }
    return unpacked[index];
}

}  // namespace

bool FindResource(const char* type, uint16_t id, ResourceData& out) {
    const resources::Entry* hit = Find(type, id);
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (hit != nullptr && hit->unpacked == 0) {
        bytes = resources::Blob() + hit->offset;
        size = hit->size;
    } else if (hit != nullptr && !Unpacked(*hit).empty()) {
        bytes = Unpacked(*hit).data();
        size = static_cast<uint32_t>(Unpacked(*hit).size());
    }
    char fields[80];
    std::snprintf(fields, sizeof fields, "\"type\":\"%.8s\",\"id\":%u,\"found\":%s", type, id,
                  bytes != nullptr ? "true" : "false");
    Trace("resource", fields);
    if (bytes == nullptr) return false;
    out.bytes = bytes;
    out.size = size;
    return true;
}

void ForEachResource(const char* type, void (*visit)(uint16_t id, const ResourceData& data, void* context),
                     void* context) {
    const resources::Entry* table = resources::Table();
    for (size_t i = 0; i < resources::TableSize(); ++i) {
        if (std::strcmp(table[i].type, type) != 0) continue;
        visit(table[i].id, ResourceData{resources::Blob() + table[i].offset, table[i].size}, context);
    }
}

}  // namespace plat
