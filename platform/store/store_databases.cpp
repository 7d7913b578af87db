// Property databases: ordered records of typed properties, written in one
// batch that lands when the last database written to is closed; and held
// registry writes, which join the same batch.
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/store/store.h"
#include "platform/store/store_connection.h"
#include "platform/store/store_file.h"
#include "platform/store/store_statement.h"

namespace plat {
namespace {

using namespace store;

constexpr size_t kMaxDatabaseName = 32;

OpenDatabaseSlot* DatabaseFor(DbHandle db) {
    if (!TheStore().db) return nullptr;
    return SlotFor(TheStore().databases, db);
}

bool ValidDatabaseName(const char* name) {
    return name && *name && std::strlen(name) <= kMaxDatabaseName;
}

// Moves to the first record of the database after `after` (0: from the start)
// or, with `last`, to its last record.
RecordId SeekTo(OpenDatabaseSlot& open, int64_t after, bool last, uint32_t* index) {
    Statement query(TheStore().db, last ? sql::kSeekLastRecord : sql::kSeekNextRecord);
    query.Bind(1, open.id).Bind(2, after);
    const int rc = query.Step();
    open.current = rc == SQLITE_ROW ? query.Int(0) : 0;
    if (rc == SQLITE_DONE) return Fail(kStoreNoMoreItems);
    if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    if (index) *index = static_cast<uint32_t>(query.Int(1));
    Succeed();
    return static_cast<RecordId>(open.current);
}

bool ValidProps(const DbProp* props, uint16_t count) {
    if (!props || count == 0) return false;
    for (uint16_t i = 0; i < count; ++i) {
        switch (PropTypeOf(props[i].id)) {
            case kPropNumber:
            case kPropBool: break;
            case kPropString:
                if (!props[i].text) return false;
                break;
            default: return false;
        }
    }
    return true;
}

bool OpenBatch() {
    Store& s = TheStore();
    if (s.batchOpen) return true;
    if (!Run(sql::kBegin)) return Fail(ErrorFor(sqlite3_errcode(s.db)));
    s.batchOpen = true;
    return true;
}

bool FinishBatch() {
    Store& s = TheStore();
    const uint32_t lost = s.batchError;
    s.batchOpen = false;
    s.batchError = kStoreOk;
    bool ok;
    if (lost != kStoreOk) {
        if (!sqlite3_get_autocommit(s.db)) Exec(s.db, "ROLLBACK");
        ok = Fail(lost);
    } else if (Run(sql::kCommit)) {
        CountCommit();
        ok = Succeed();
    } else {
        ok = Fail(ErrorFor(sqlite3_errcode(s.db)));
        Exec(s.db, "ROLLBACK");
    }
    TraceWrite([] { return std::string("\"kind\":\"commit\""); }, ok);
    return ok;
}

// The batch lands once no one still writes into it.
bool FinishBatchWhenDone() {
    Store& s = TheStore();
    if (!s.batchOpen || s.writesHeld) return Succeed();
    for (const OpenDatabaseSlot& other : s.databases) {
        if (other.wrote) return Succeed();
    }
    return FinishBatch();
}

}  // namespace

uint32_t CreateDatabase(const char* name, uint32_t type) {
    if (!ValidDatabaseName(name)) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return 0;
    Store& s = TheStore();
    int64_t id = 0;
    const bool ok = Atomic([&]() -> uint32_t {
        Statement insert(s.db, sql::kInsertDatabase);
        const int rc = insert.Bind(1, name).Bind(2, static_cast<int64_t>(type)).Step();
        if ((rc & 0xFF) == SQLITE_CONSTRAINT) return kStoreDupName;
        id = sqlite3_last_insert_rowid(s.db);
        return ErrorFor(rc);
    });
    TraceWrite([&] { return "\"kind\":\"database\",\"db\":" + JsonString(name) + ",\"type\":" + std::to_string(type); },
               ok);
    return ok ? static_cast<uint32_t>(id) : 0;
}

DbHandle OpenDatabase(const char* name) {
    if (!ValidDatabaseName(name)) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return kNoDatabase;
    Store& s = TheStore();
    Statement find(s.db, sql::kFindDatabase);
    const int rc = find.Bind(1, name).Step();
    if (rc == SQLITE_DONE) return Fail(kStoreFileNotFound);
    if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    const uint32_t handle = FreeSlot(s.databases);
    if (handle == 0) return Fail(kStoreNotEnoughMemory);
    OpenDatabaseSlot& open = s.databases[handle - 1];
    open = {find.Int(0), name, 0, false};
    SeekTo(open, 0, false, nullptr);
    Succeed();
    return handle;
}

bool CloseDatabase(DbHandle db) {
    OpenDatabaseSlot* open = DatabaseFor(db);
    if (!open) return Fail(kStoreInvalidHandle);
    const bool wrote = open->wrote;
    *open = {};
    return wrote ? FinishBatchWhenDone() : Succeed();
}

void BeginStoreWrites() {
    // No store, no batch: the writes fail on their own.
    if (TheStore().db && OpenBatch()) TheStore().writesHeld = true;
}

bool EndStoreWrites() {
    TheStore().writesHeld = false;
    return FinishBatchWhenDone();
}

RecordId SeekDatabase(DbHandle db, SeekFrom from, uint32_t* index) {
    OpenDatabaseSlot* open = DatabaseFor(db);
    if (!open) return Fail(kStoreInvalidHandle);
    switch (from) {
        case SeekFrom::kBeginning: return SeekTo(*open, 0, false, index);
        case SeekFrom::kEnd: return SeekTo(*open, 0, true, index);
        case SeekFrom::kNext: break;
    }
    if (open->current == 0) return Fail(kStoreNoMoreItems);
    return SeekTo(*open, open->current, false, index);
}

RecordId ReadRecord(DbHandle db, DbProp*& props, uint16_t& count) {
    const OpenDatabaseSlot* open = DatabaseFor(db);
    if (!open) return Fail(kStoreInvalidHandle);
    if (open->current == 0) return Fail(kStoreNoMoreItems);
    Statement query(TheStore().db, sql::kReadProps);
    query.Bind(1, open->current);
    struct Row {
        uint32_t id;
        int32_t number;
        std::string text;
    };
    std::vector<Row> rows;
    size_t textBytes = 0;
    int rc;
    while ((rc = query.Step()) == SQLITE_ROW && rows.size() < UINT16_MAX) {
        // Rows this program could not have written are left out, as if missing.
        const int64_t id = query.Int(0);
        Row row{static_cast<uint32_t>(id), 0, {}};
        if (id < 0 || id > UINT32_MAX) continue;
        if (PropTypeOf(row.id) == kPropString) {
            if (!query.IsNull(2)) row.text = query.Text(2);
            textBytes += row.text.size() + 1;
        } else if (!query.Number32(1, row.number)) {
            continue;
        }
        rows.push_back(std::move(row));
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Fail(ErrorFor(rc));
    // One block: the property array, then the strings it points into.
    const size_t arrayBytes = rows.size() * sizeof(DbProp);
    auto* block = static_cast<DbProp*>(std::malloc(arrayBytes + textBytes + 1));
    if (!block) return Fail(kStoreNotEnoughMemory);
    char* text = reinterpret_cast<char*>(block) + arrayBytes;
    for (size_t i = 0; i < rows.size(); ++i) {
        block[i] = {rows[i].id, rows[i].number, nullptr};
        if (PropTypeOf(rows[i].id) != kPropString) continue;
        std::memcpy(text, rows[i].text.c_str(), rows[i].text.size() + 1);
        block[i].text = text;
        text += rows[i].text.size() + 1;
    }
    props = block;
    count = static_cast<uint16_t>(rows.size());
    Succeed();
    return static_cast<RecordId>(open->current);
}

void FreeRecord(DbProp* props) { std::free(props); }

RecordId WriteRecord(DbHandle db, RecordId record, const DbProp* props, uint16_t count) {
    OpenDatabaseSlot* open = DatabaseFor(db);
    if (!open) return Fail(kStoreInvalidHandle);
    if (!ValidProps(props, count)) return Fail(kStoreInvalidParameter);
    Store& s = TheStore();
    if (record != 0) {
        Statement owner(s.db, sql::kRecordOwner);
        const int rc = owner.Bind(1, record).Bind(2, open->id).Step();
        if (rc == SQLITE_DONE) return Fail(kStoreInvalidParameter);
        if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    }
    if (!OpenBatch()) return false;
    open->wrote = true;
    int64_t id = record;
    const bool ok = Atomic([&]() -> uint32_t {
        if (id == 0) {
            Statement insert(s.db, sql::kInsertRecord);
            const int rc = insert.Bind(1, open->id).Step();
            if (rc != SQLITE_DONE) return ErrorFor(rc);
            id = sqlite3_last_insert_rowid(s.db);
        }
        Statement upsert(s.db, sql::kWriteProp);
        for (uint16_t i = 0; i < count; ++i) {
            const bool isString = PropTypeOf(props[i].id) == kPropString;
            upsert.Bind(1, id).Bind(2, static_cast<int64_t>(props[i].id)).Bind(4, isString ? props[i].text : nullptr);
            if (isString) {
                upsert.Bind(3, nullptr);
            } else {
                upsert.Bind(3, static_cast<int64_t>(props[i].number));
            }
            const int rc = upsert.Step();
            if (rc != SQLITE_DONE) return ErrorFor(rc);
            upsert.Reset();
        }
        return kStoreOk;
    });
    if (ok) open->current = id;
    TraceWrite(
        [&] {
            return "\"kind\":\"record\",\"db\":" + JsonString(open->name) + ",\"record\":" + std::to_string(id) +
                   ",\"props\":" + std::to_string(count);
        },
        ok);
    return ok ? static_cast<RecordId>(id) : 0;
}
}  // namespace plat
