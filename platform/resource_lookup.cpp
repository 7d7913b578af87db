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
// bytes do not unpack. Pictures are packed in groups, so the first lookup of
// one unpacks its whole group.
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

// The resource's bytes as the program reads them: unpacked when packed.
bool BytesOf(const resources::Entry* entry, ResourceData& out) {
    if (entry == nullptr) return false;
    if (entry->unpacked == 0) {
        out = ResourceData{resources::Blob() + entry->offset, entry->size};
        return true;
    }
    const std::vector<uint8_t>& bytes = Unpacked(*entry);
    if (bytes.empty()) return false;
    out = ResourceData{bytes.data(), static_cast<uint32_t>(bytes.size())};
    return true;
}

}  // namespace

bool FindResource(const char* type, uint16_t id, ResourceData& out) {
    ResourceData found{};
    const bool ok = BytesOf(Find(type, id), found);
    char fields[80];
    std::snprintf(fields, sizeof fields, "\"type\":\"%.8s\",\"id\":%u,\"found\":%s", type, id, ok ? "true" : "false");
    Trace("resource", fields);
    if (ok) out = found;
    return ok;
}

void ForEachResource(const char* type, void (*visit)(uint16_t id, const ResourceData& data, void* context),
                     void* context) {
    const resources::Entry* table = resources::Table();
    // The first walk (the game keeping its pictures) unpacks all that is
    // packed, so that no sound played later waits.
    static const bool unpackedAll = [table] {
        for (size_t i = 0; i < resources::TableSize(); ++i) {
            if (table[i].unpacked != 0) Unpacked(table[i]);
        }
        return true;
    }();
    (void)unpackedAll;
    for (size_t i = 0; i < resources::TableSize(); ++i) {
        ResourceData data{};
        if (std::strcmp(table[i].type, type) == 0 && BytesOf(&table[i], data)) visit(table[i].id, data, context);
    }
}

bool PicturesPacked() {
    for (size_t i = 0; i < resources::TableSize(); ++i) {
        const resources::Entry& e = resources::Table()[i];
        if (std::strcmp(e.type, "PCT") == 0 && e.unpacked != 0) return true;
    }
    return false;
}

}  // namespace plat
