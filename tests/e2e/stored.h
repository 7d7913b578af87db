// What a run left in its folder's store, read the way the game reads it.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "persist/high_score_table.h"
#include "platform/platform.h"
#include "platform/store/store_testing.h"

namespace e2e {

// Runs `read` on `dir`'s store, closed again afterwards.
template <typename Read>
auto InStore(const std::filesystem::path& dir, Read read) {
    plat::testing::CloseStore();
    setenv("REEDSHOT_DATA_DIR", (dir / "data").c_str(), 1);
    auto result = read();
    plat::testing::CloseStore();
    return result;
}

// A stored setting as text (a number, or with `text` a string); "missing" when unreadable.
inline std::string Stored(const std::filesystem::path& dir, const char* name, bool text = false) {
    return InStore(dir, [&] {
        plat::KeyHandle key = plat::kNoKey;
        bool created = false;
        int32_t number = 0;
        char buffer[16] = {};
        if (!plat::OpenOrCreateKey("Corvane\\Reedshot", key, created)) return std::string("missing");
        const bool ok = text ? plat::ReadString(key, name, buffer, sizeof buffer) : plat::ReadNumber(key, name, number);
        plat::CloseKey(key);
        return !ok ? std::string("missing") : text ? std::string(buffer) : std::to_string(number);
    });
}

// The used high-score entries as "score:NAME", "*" marking the newest.
inline std::string StoredTable(const std::filesystem::path& dir) {
    return InStore(dir, [] {
        HighScoreTable table;
        table.Load();
        std::string out;
        for (int32_t i = 0; i < table.CountUsed(); ++i) {
            const HighScoreEntry e = table.GetEntry(i);
            out += (i ? " " : "") + std::to_string(e.score) + ":" + e.name + (e.isNew ? "*" : "");
        }
        return out;
    });
}

}  // namespace e2e
