// Resources are the tables the asset builder compiles into the program.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "resources/resource_table.h"
#include "resources/wave_pack.h"

namespace plat {

namespace {

// A packed resource, unpacked on its first lookup and kept: a null pointer
// when its bytes do not unpack.
const uint8_t* Unpacked(const resources::Entry& entry) {
    static std::vector<std::unique_ptr<uint8_t[]>> unpacked(resources::TableSize());
    static std::vector<bool> tried(resources::TableSize());
    const auto index = static_cast<size_t>(&entry - resources::Table());
    if (!tried[index]) {
        tried[index] = true;
        auto bytes = std::make_unique<uint8_t[]>(entry.unpacked);
        if (resources::UnpackWave(resources::Blob() + entry.offset, entry.size, bytes.get(), entry.unpacked)) {
            unpacked[index] = std::move(bytes);
        }
    }
    return unpacked[index].get();
}

}  // namespace

bool FindResource(const char* type, uint16_t id, ResourceData& out) {
    const resources::Entry* begin = resources::Table();
    const resources::Entry* end = begin + resources::TableSize();
    auto before = [](const resources::Entry& e, const std::pair<const char*, uint16_t>& key) {
        const int order = std::strcmp(e.type, key.first);
        return order < 0 || (order == 0 && e.id < key.second);
    };
    const auto key = std::make_pair(type, id);
    const resources::Entry* hit = std::lower_bound(begin, end, key, before);
    const uint8_t* bytes = nullptr;
    if (hit != end && std::strcmp(hit->type, type) == 0 && hit->id == id) {
        bytes = hit->unpacked != 0 ? Unpacked(*hit) : resources::Blob() + hit->offset;
    }
    char fields[80];
    std::snprintf(fields, sizeof fields, "\"type\":\"%.8s\",\"id\":%u,\"found\":%s", type, id,
                  bytes != nullptr ? "true" : "false");
    Trace("resource", fields);
    if (bytes == nullptr) return false;
    out.bytes = bytes;
    out.size = hit->unpacked != 0 ? hit->unpacked : hit->size;
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
