// The registry: keys of named numbers and strings, and the hosts' own
// preferences beside them.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/store/store.h"
#include "platform/store/store_connection.h"
#include "platform/store/store_file.h"
#include "platform/store/store_host.h"
#include "platform/store/store_statement.h"

namespace plat {
namespace {

using namespace store;

OpenKey* KeyFor(KeyHandle key) {
    if (!TheStore().db) return nullptr;
    return SlotFor(TheStore().keys, key);
}

// The value's row: SQLITE_ROW with number or text, or SQLITE_DONE when missing.
bool FindValue(KeyHandle key, const char* name, Statement& query) {
    const OpenKey* open = KeyFor(key);
    if (!open) return Fail(kStoreInvalidHandle);
    if (!name) return Fail(kStoreInvalidParameter);
    query.Bind(1, open->id).Bind(2, name);
    const int rc = query.Step();
    if (rc == SQLITE_DONE) return Fail(kStoreFileNotFound);
    if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    return true;
}

bool FindString(KeyHandle key, const char* name, Statement& query) {
    if (!FindValue(key, name, query)) return false;
    return query.IsNull(1) ? Fail(kStoreInvalidParameter) : true;
}

bool WriteValue(KeyHandle key, const char* name, const char* kind, int64_t number, const char* text) {
    const OpenKey* open = KeyFor(key);
    if (!open) return Fail(kStoreInvalidHandle);
    if (!name) return Fail(kStoreInvalidParameter);
    Store& s = TheStore();
    const bool ok = Atomic([&]() -> uint32_t {
        Statement upsert(s.db, sql::kWriteValue);
        upsert.Bind(1, open->id).Bind(2, name).Bind(4, text);
        if (!text) upsert.Bind(3, number);
        return ErrorFor(upsert.Step());
    });
    TraceWrite(
        [&] {
            const std::string value = text ? JsonString(text) : std::to_string(number);
            return std::string("\"kind\":\"") + kind + "\",\"key\":" + JsonString(open->path) +
                   ",\"name\":" + JsonString(name) + ",\"value\":" + value;
        },
        ok);
    return ok;
}

}  // namespace

bool OpenOrCreateKey(const char* path, KeyHandle& key, bool& created) {
    if (!path || !*path) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return false;
    Store& s = TheStore();
    int64_t id = 0;
    bool isNew = false;
    const bool ok = Atomic([&]() -> uint32_t {
        Statement find(s.db, sql::kFindKey);
        find.Bind(1, path);
        int rc = find.Step();
        if (rc == SQLITE_ROW) {
            id = find.Int(0);
            return kStoreOk;
        }
        if (rc != SQLITE_DONE) return ErrorFor(rc);
        Statement insert(s.db, sql::kInsertKey);
        rc = insert.Bind(1, path).Step();
        id = sqlite3_last_insert_rowid(s.db);
        isNew = true;
        return ErrorFor(rc);
    });
    if (isNew) TraceWrite([&] { return "\"kind\":\"key\",\"key\":" + JsonString(path); }, ok);
    if (!ok) return false;
    const uint32_t handle = FreeSlot(s.keys);
    if (handle == 0) return Fail(kStoreNotEnoughMemory);
    s.keys[handle - 1] = {id, path};
    key = handle;
    created = isNew;
    return Succeed();
}

void CloseKey(KeyHandle key) {
    if (OpenKey* open = KeyFor(key)) {
        *open = {};
        Succeed();
    } else {
        Fail(kStoreInvalidHandle);
    }
}

bool ReadNumber(KeyHandle key, const char* name, int32_t& value) {
    if (!KeyFor(key)) return Fail(kStoreInvalidHandle);
    Statement query(TheStore().db, sql::kFindValue);
    if (!FindValue(key, name, query)) return false;
    // A number this program never wrote reads as missing rather than cut.
    return query.Number32(0, value) ? Succeed() : Fail(kStoreInvalidParameter);
}

bool ReadStringSize(KeyHandle key, const char* name, uint32_t& bytes) {
    if (!KeyFor(key)) return Fail(kStoreInvalidHandle);
    Statement query(TheStore().db, sql::kFindValue);
    if (!FindString(key, name, query)) return false;
    bytes = static_cast<uint32_t>(std::strlen(query.Text(1)) + 1);
    return Succeed();
}

bool ReadString(KeyHandle key, const char* name, char* buffer, uint32_t capacity) {
    if (!KeyFor(key)) return Fail(kStoreInvalidHandle);
    if (!buffer || capacity == 0) return Fail(kStoreInvalidParameter);
    Statement query(TheStore().db, sql::kFindValue);
    if (!FindString(key, name, query)) return false;
    const char* text = query.Text(1);
    const size_t length = std::min<size_t>(std::strlen(text), capacity - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return Succeed();
}

bool WriteNumber(KeyHandle key, const char* name, int32_t value) {
    return WriteValue(key, name, "number", value, nullptr);
}

bool WriteString(KeyHandle key, const char* name, const char* text) {
    if (!text) return Fail(kStoreInvalidParameter);
    return WriteValue(key, name, "string", 0, text);
}

// ---------------------------------------------------------------------------
// The hosts' own preferences

bool ReadHostPreference(const char* name, int32_t& value) {
    if (!name) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return false;
    Statement query(TheStore().db, sql::kFindHostPref);
    const int rc = query.Bind(1, name).Step();
    if (rc == SQLITE_DONE) return Fail(kStoreFileNotFound);
    if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    return query.Number32(0, value) ? Succeed() : Fail(kStoreInvalidParameter);
}

bool WriteHostPreference(const char* name, int32_t value) {
    if (!name) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return false;
    Store& s = TheStore();
    const bool ok = Atomic([&]() -> uint32_t {
        Statement upsert(s.db, sql::kWriteHostPref);
        return ErrorFor(upsert.Bind(1, name).Bind(2, value).Step());
    });
    TraceWrite([&] { return "\"kind\":\"host\",\"name\":" + JsonString(name) + ",\"value\":" + std::to_string(value); },
               ok);
    return ok;
}
}  // namespace plat
