// Resources are the tables the asset builder compiles into the program.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "resources/resource_table.h"

namespace plat {

bool FindResource(const char* type, uint16_t id, ResourceData& out) {
    const resources::Entry* begin = resources::Table();
    const resources::Entry* end = begin + resources::TableSize();
    auto before = [](const resources::Entry& e, const std::pair<const char*, uint16_t>& key) {
        const int order = std::strcmp(e.type, key.first);
        return order < 0 || (order == 0 && e.id < key.second);
    };
    const auto key = std::make_pair(type, id);
    const resources::Entry* hit = std::lower_bound(begin, end, key, before);
    const bool found = hit != end && std::strcmp(hit->type, type) == 0 && hit->id == id;
    char fields[80];
    std::snprintf(fields, sizeof fields, "\"type\":\"%.8s\",\"id\":%u,\"found\":%s", type, id,
                  found ? "true" : "false");
    Trace("resource", fields);
    if (!found) return false;
    out.bytes = resources::Blob() + hit->offset;
    out.size = hit->size;
    return true;
}

}  // namespace plat
