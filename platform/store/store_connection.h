// The store's one connection and what hangs on it: kept statements, open
// key and database handles, the write batch, the last error. Shared by the
// store's parts; nothing outside platform/store includes this header.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/store/store.h"
#include "platform/store/store_sql.h"

namespace plat::store {

constexpr size_t kMaxHandles = 32;

struct OpenKey {
    int64_t id = 0;  // 0: slot free
    std::string path;
};

struct OpenDatabaseSlot {
    int64_t id = 0;  // 0: slot free
    std::string name;
    int64_t current = 0;  // 0: before the first or past the last record
    bool wrote = false;
};

// A statement prepared once and kept for the connection's life; keyed by the
// address of its SQL text, which is always a literal.
struct KeptStatement {
    const char* sql = nullptr;
    sqlite3_stmt* stmt = nullptr;
    bool busy = false;  // in use: a nested use of the same text prepares its own
};

struct Store {
    ~Store() { Close(); }

    // Closing folds the log back into the file.
    void Close() {
        for (KeptStatement& kept : statements) sqlite3_finalize(kept.stmt);
        statements.clear();
        sqlite3_close_v2(db);
        db = nullptr;
    }

    sqlite3* db = nullptr;
    std::vector<KeptStatement> statements;
    bool told = false;  // the player has heard about a store problem
    std::vector<OpenKey> keys;
    std::vector<OpenDatabaseSlot> databases;
    bool batchOpen = false;
    bool writesHeld = false;         // between BeginStoreWrites and EndStoreWrites
    uint32_t batchError = kStoreOk;  // set when the batch was lost midway
};

Store& TheStore();

// Set the last error and answer as the store's calls do.
bool Succeed();
bool Fail(uint32_t error);
uint32_t ErrorFor(int rc);
// A write reached the file (see StoreCommits).
void CountCommit();

bool Exec(sqlite3* db, const char* sql);
// One statement of literal SQL on the store's connection, kept prepared: the
// transaction steps every write takes.
bool Run(const char* sql);

std::string JsonString(const std::string& text);
bool TraceKept();
void TraceWriteLine(const std::string& fields, bool ok);
// The trace's fields are made only when its line is kept: a save during play
// then builds no strings.
template <class Fields>
void TraceWrite(Fields&& fields, bool ok) {
    if (TraceKept()) TraceWriteLine(fields(), ok);
}

// Runs `body` (which answers a store error) as one unit: a transaction of its
// own, or a savepoint inside the open batch.
template <class Body>
bool Atomic(Body&& body) {
    Store& s = TheStore();
    if (s.batchError != kStoreOk) return Fail(s.batchError);
    const bool inBatch = s.batchOpen;
    if (!Run(inBatch ? sql::kSavepoint : sql::kBegin)) return Fail(ErrorFor(sqlite3_errcode(s.db)));
    uint32_t error = body();
    if (error == kStoreOk && !Run(inBatch ? sql::kRelease : sql::kCommit)) {
        error = ErrorFor(sqlite3_errcode(s.db));
    }
    if (error == kStoreOk) {
        if (!inBatch) CountCommit();
        return Succeed();
    }
    if (!inBatch) {
        Exec(s.db, "ROLLBACK");
    } else if (sqlite3_get_autocommit(s.db)) {
        // SQLite gave up the whole batch: nothing more of it may land.
        s.batchError = error;
    } else {
        Exec(s.db, "ROLLBACK TO unit; RELEASE unit");
    }
    return Fail(error);
}

template <class Slot>
Slot* SlotFor(std::vector<Slot>& slots, uint32_t handle) {
    if (handle == 0 || handle > slots.size() || slots[handle - 1].id == 0) return nullptr;
    return &slots[handle - 1];
}

// A free slot's handle, or 0 when every handle is taken.
template <class Slot>
uint32_t FreeSlot(std::vector<Slot>& slots) {
    for (size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].id == 0) return static_cast<uint32_t>(i + 1);
    }
    if (slots.size() == kMaxHandles) return 0;
    slots.emplace_back();
    return static_cast<uint32_t>(slots.size());
}

}  // namespace plat::store
