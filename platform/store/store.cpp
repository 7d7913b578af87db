// The object store on SQLite: one file per user, written in transactions with
// a write-ahead log and full syncs, so a kill at any moment leaves either the
// old or the new contents. A file that is damaged is set aside, never lost.
#include "platform/store/store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/store/store_host.h"
#include "platform/store/store_testing.h"

namespace plat {
namespace {

constexpr const char* kFileName = "store.sqlite";
constexpr int32_t kApplicationId = 0x52534854;  // marks the file as ours
constexpr size_t kMaxDatabaseName = 32;
constexpr size_t kMaxHandles = 32;

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS reg_keys(
  id INTEGER PRIMARY KEY,
  path TEXT NOT NULL UNIQUE COLLATE NOCASE);
CREATE TABLE IF NOT EXISTS reg_values(
  key_id INTEGER NOT NULL REFERENCES reg_keys(id),
  name TEXT NOT NULL COLLATE NOCASE,
  number INTEGER,
  text TEXT,
  PRIMARY KEY(key_id, name)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS databases(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL UNIQUE COLLATE NOCASE,
  type INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS records(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  db_id INTEGER NOT NULL REFERENCES databases(id));
CREATE INDEX IF NOT EXISTS records_by_db ON records(db_id, id);
CREATE TABLE IF NOT EXISTS props(
  record_id INTEGER NOT NULL REFERENCES records(id),
  prop_id INTEGER NOT NULL,
  slot INTEGER NOT NULL,
  number INTEGER,
  text TEXT,
  PRIMARY KEY(record_id, prop_id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS host_prefs(
  name TEXT PRIMARY KEY COLLATE NOCASE,
  number INTEGER NOT NULL) WITHOUT ROWID;
)sql";

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
    uint32_t batchError = kStoreOk;  // set when the batch was lost midway
};

Store& TheStore() {
    static Store store;
    return store;
}

uint32_t lastError = kStoreOk;
uint32_t commits = 0;

bool Succeed() {
    lastError = kStoreOk;
    return true;
}

bool Fail(uint32_t error) {
    lastError = error;
    return false;
}

uint32_t ErrorFor(int rc) {
    switch (rc & 0xFF) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW: return kStoreOk;
        case SQLITE_FULL: return kStoreDiskFull;
        case SQLITE_NOMEM: return kStoreNotEnoughMemory;
        default: return kStoreWriteFault;
    }
}

class Statement {
public:
    // Statements on the store's own connection are prepared once and reused:
    // parsing the SQL costs more than running it.
    Statement(sqlite3* db, const char* sql) {
        Store& s = TheStore();
        if (db == nullptr || db != s.db) {
            rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
            return;
        }
        for (size_t i = 0; i < s.statements.size(); ++i) {
            KeptStatement& kept = s.statements[i];
            if (kept.sql == sql && !kept.busy) {
                kept.busy = true;
                stmt_ = kept.stmt;
                kept_ = i + 1;
                return;
            }
        }
        rc_ = sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
        if (rc_ == SQLITE_OK && stmt_ != nullptr) {
            s.statements.push_back({sql, stmt_, true});
            kept_ = s.statements.size();
        }
    }
    ~Statement() {
        if (kept_ == 0) {
            sqlite3_finalize(stmt_);
            return;
        }
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
        TheStore().statements[kept_ - 1].busy = false;
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int index, int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& Bind(int index, const char* text) {
        if (text) {
            sqlite3_bind_text(stmt_, index, text, -1, SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(stmt_, index);
        }
        return *this;
    }
    // Ready to run again; the bindings stay.
    void Reset() { sqlite3_reset(stmt_); }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() {
        if (stmt_) rc_ = sqlite3_step(stmt_);
        return rc_;
    }
    int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
    bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }
    // The column as a 32-bit number; false when it holds anything else (text,
    // a real, a blob, NULL or an integer out of range).
    bool Number32(int column, int32_t& value) const {
        if (sqlite3_column_type(stmt_, column) != SQLITE_INTEGER) return false;
        const int64_t wide = Int(column);
        if (wide < INT32_MIN || wide > INT32_MAX) return false;
        value = static_cast<int32_t>(wide);
        return true;
    }
    const char* Text(int column) const {
        const unsigned char* text = sqlite3_column_text(stmt_, column);
        return text ? reinterpret_cast<const char*>(text) : "";
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
    size_t kept_ = 0;  // 1 + its index among the store's kept statements, or 0
};

bool Exec(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// One statement of literal SQL on the store's connection, kept prepared: the
// transaction steps every write takes.
bool Run(const char* sql) {
    Statement statement(TheStore().db, sql);
    const int rc = statement.Step();
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void TraceWrite(const std::string& fields, bool ok) {
    const std::string all = fields + ",\"ok\":" + (ok ? "true" : "false") +
                            (ok ? "" : ",\"error\":" + std::to_string(lastError));
    Trace("store_write", all.c_str());
}

// ---------------------------------------------------------------------------
// Opening, checking and setting aside the file.

enum class OpenResult { kOpened, kDamaged, kUnavailable };

// Only a file whose contents are broken is set aside. A file that is busy,
// read-only, unreadable for its permissions or on a failing or full disk is
// no fault of its own: it stays where it is for a later run.
OpenResult Classify(int rc) {
    switch (rc & 0xFF) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB: return OpenResult::kDamaged;
        default: return OpenResult::kUnavailable;
    }
}

OpenResult CheckAndPrepare(sqlite3* db, bool onDisk) {
    {
        // The full check: the quick one misses rows out of key order, and
        // lookups in such a table miss what is there, so saves are lost.
        Statement check(db, "PRAGMA integrity_check");
        const int rc = check.Step();
        if (rc != SQLITE_ROW) return Classify(rc);
        if (std::strcmp(check.Text(0), "ok") != 0) return OpenResult::kDamaged;
    }
    {
        Statement owner(db, "PRAGMA application_id");
        const int rc = owner.Step();
        if (rc != SQLITE_ROW) return Classify(rc);
        // Another program's database in our place is as unreadable as a damaged one.
        if (owner.Int(0) != 0 && owner.Int(0) != kApplicationId) return OpenResult::kDamaged;
    }
    if (onDisk && !(Exec(db, "PRAGMA journal_mode=WAL") && Exec(db, "PRAGMA synchronous=FULL"))) {
        return Classify(sqlite3_errcode(db));
    }
    const std::string setup = std::string("BEGIN IMMEDIATE;") + kSchema + "PRAGMA application_id=" +
                              std::to_string(kApplicationId) + ";COMMIT;";
    if (!Exec(db, setup.c_str())) {
        const int rc = sqlite3_errcode(db);
        Exec(db, "ROLLBACK");
        return Classify(rc);
    }
    return OpenResult::kOpened;
}

OpenResult OpenFile(const std::string& path, sqlite3*& out) {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        return Classify(rc);
    }
    sqlite3_busy_timeout(db, 2000);
    const OpenResult result = CheckAndPrepare(db, true);
    if (result != OpenResult::kOpened) {
        sqlite3_close(db);
        return result;
    }
    out = db;
    return result;
}

std::string TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return stamp;
}

// Renames the file (and its log) to a free name with the time in it.
bool MoveAside(const std::string& path, std::string& kept) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string base = path + ".damaged-" + TimeStamp();
    std::string name = base;
    for (int n = 2; fs::exists(name, ec) || fs::exists(name + "-wal", ec); ++n) name = base + "-" + std::to_string(n);
    fs::rename(path, name, ec);
    if (ec) return false;
    if (fs::exists(path + "-wal", ec)) fs::rename(path + "-wal", name + "-wal", ec);
    fs::remove(path + "-shm", ec);
    kept = name;
    return true;
}

void Tell(const std::string& text) {
    Store& s = TheStore();
    if (s.told) return;
    s.told = true;
    MessageBox(text.c_str(), nullptr, kMbOk);
}

// Keeps the game going on a store that lasts only for this run.
void OpenInMemory(const std::string& why) {
    Store& s = TheStore();
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) == SQLITE_OK && CheckAndPrepare(db, false) == OpenResult::kOpened) {
        s.db = db;
    } else {
        sqlite3_close(db);
    }
    Tell(why + " Settings and high scores will not be kept after this run.");
}

std::filesystem::path DataDir() {
    if (const char* dir = std::getenv("REEDSHOT_DATA_DIR"); dir && *dir) return dir;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        return std::filesystem::path(xdg) / "reedshot";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".local" / "share" / "reedshot";
    }
    return {};
}

bool EnsureOpen() {
    Store& s = TheStore();
    if (s.db) return true;
    const std::filesystem::path dir = DataDir();
    std::error_code ec;
    if (dir.empty()) {
        OpenInMemory("There is no home folder to keep your settings in.");
    } else if (std::filesystem::create_directories(dir, ec), ec) {
        OpenInMemory("The folder " + dir.string() + " could not be made.");
    } else {
        const std::string path = (dir / kFileName).string();
        OpenResult result = OpenFile(path, s.db);
        std::string kept;
        if (result == OpenResult::kDamaged && MoveAside(path, kept)) result = OpenFile(path, s.db);
        const std::string keptNote = kept.empty() ? "" : " The old file was kept as " + kept + ".";
        if (result != OpenResult::kOpened) {
            OpenInMemory("The file " + path + " could not be opened." + keptNote);
        } else if (!kept.empty()) {
            Tell("Your saved settings and high scores could not be read, so the game starts afresh." + keptNote);
        }
    }
    return s.db != nullptr || Fail(kStoreNotEnoughMemory);
}

// Runs `body` (which answers a store error) as one unit: a transaction of its
// own, or a savepoint inside the open batch.
template <class Body>
bool Atomic(Body&& body) {
    Store& s = TheStore();
    if (s.batchError != kStoreOk) return Fail(s.batchError);
    const bool inBatch = s.batchOpen;
    if (!Run(inBatch ? "SAVEPOINT unit" : "BEGIN IMMEDIATE")) return Fail(ErrorFor(sqlite3_errcode(s.db)));
    uint32_t error = body();
    if (error == kStoreOk && !Run(inBatch ? "RELEASE unit" : "COMMIT")) {
        error = ErrorFor(sqlite3_errcode(s.db));
    }
    if (error == kStoreOk) {
        if (!inBatch) ++commits;
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

OpenKey* KeyFor(KeyHandle key) {
    if (!TheStore().db) return nullptr;
    return SlotFor(TheStore().keys, key);
}

OpenDatabaseSlot* DatabaseFor(DbHandle db) {
    if (!TheStore().db) return nullptr;
    return SlotFor(TheStore().databases, db);
}

bool ValidDatabaseName(const char* name) {
    return name && *name && std::strlen(name) <= kMaxDatabaseName;
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

constexpr const char* kValueQuery = "SELECT number, text FROM reg_values WHERE key_id = ?1 AND name = ?2";

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
        Statement upsert(s.db,
                         "INSERT INTO reg_values(key_id, name, number, text) VALUES(?1, ?2, ?3, ?4) "
                         "ON CONFLICT(key_id, name) DO UPDATE SET number = excluded.number, text = excluded.text");
        upsert.Bind(1, open->id).Bind(2, name).Bind(4, text);
        if (!text) upsert.Bind(3, number);
        return ErrorFor(upsert.Step());
    });
    const std::string value = text ? JsonString(text) : std::to_string(number);
    TraceWrite(std::string("\"kind\":\"") + kind + "\",\"key\":" + JsonString(open->path) +
                   ",\"name\":" + JsonString(name) + ",\"value\":" + value,
               ok);
    return ok;
}

// Moves to the first record of the database after `after` (0: from the start)
// or, with `last`, to its last record.
RecordId SeekTo(OpenDatabaseSlot& open, int64_t after, bool last, uint32_t* index) {
    Statement query(TheStore().db, last ? "SELECT id, (SELECT COUNT(*) - 1 FROM records WHERE db_id = ?1) "
                                          "FROM records WHERE db_id = ?1 ORDER BY id DESC LIMIT 1"
                                        : "SELECT id, (SELECT COUNT(*) FROM records r WHERE r.db_id = ?1 AND r.id < "
                                          "records.id) FROM records WHERE db_id = ?1 AND id > ?2 ORDER BY id LIMIT 1");
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

bool FinishBatch() {
    Store& s = TheStore();
    const uint32_t lost = s.batchError;
    s.batchOpen = false;
    s.batchError = kStoreOk;
    bool ok;
    if (lost != kStoreOk) {
        if (!sqlite3_get_autocommit(s.db)) Exec(s.db, "ROLLBACK");
        ok = Fail(lost);
    } else if (Run("COMMIT")) {
        ++commits;
        ok = Succeed();
    } else {
        ok = Fail(ErrorFor(sqlite3_errcode(s.db)));
        Exec(s.db, "ROLLBACK");
    }
    TraceWrite("\"kind\":\"commit\"", ok);
    return ok;
}

}  // namespace

uint32_t StoreLastError() { return lastError; }

uint32_t StoreCommits() { return commits; }

// ---------------------------------------------------------------------------
// Registry

bool OpenOrCreateKey(const char* path, KeyHandle& key, bool& created) {
    if (!path || !*path) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return false;
    Store& s = TheStore();
    int64_t id = 0;
    bool isNew = false;
    const bool ok = Atomic([&]() -> uint32_t {
        Statement find(s.db, "SELECT id FROM reg_keys WHERE path = ?1");
        find.Bind(1, path);
        int rc = find.Step();
        if (rc == SQLITE_ROW) {
            id = find.Int(0);
            return kStoreOk;
        }
        if (rc != SQLITE_DONE) return ErrorFor(rc);
        Statement insert(s.db, "INSERT INTO reg_keys(path) VALUES(?1)");
        rc = insert.Bind(1, path).Step();
        id = sqlite3_last_insert_rowid(s.db);
        isNew = true;
        return ErrorFor(rc);
    });
    if (isNew) TraceWrite("\"kind\":\"key\",\"key\":" + JsonString(path), ok);
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
    Statement query(TheStore().db, kValueQuery);
    if (!FindValue(key, name, query)) return false;
    // A number this program never wrote reads as missing rather than cut.
    return query.Number32(0, value) ? Succeed() : Fail(kStoreInvalidParameter);
}

bool ReadStringSize(KeyHandle key, const char* name, uint32_t& bytes) {
    if (!KeyFor(key)) return Fail(kStoreInvalidHandle);
    Statement query(TheStore().db, kValueQuery);
    if (!FindString(key, name, query)) return false;
    bytes = static_cast<uint32_t>(std::strlen(query.Text(1)) + 1);
    return Succeed();
}

bool ReadString(KeyHandle key, const char* name, char* buffer, uint32_t capacity) {
    if (!KeyFor(key)) return Fail(kStoreInvalidHandle);
    if (!buffer || capacity == 0) return Fail(kStoreInvalidParameter);
    Statement query(TheStore().db, kValueQuery);
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
// Property databases

uint32_t CreateDatabase(const char* name, uint32_t type) {
    if (!ValidDatabaseName(name)) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return 0;
    Store& s = TheStore();
    int64_t id = 0;
    const bool ok = Atomic([&]() -> uint32_t {
        Statement insert(s.db, "INSERT INTO databases(name, type) VALUES(?1, ?2)");
        const int rc = insert.Bind(1, name).Bind(2, static_cast<int64_t>(type)).Step();
        if ((rc & 0xFF) == SQLITE_CONSTRAINT) return kStoreDupName;
        id = sqlite3_last_insert_rowid(s.db);
        return ErrorFor(rc);
    });
    TraceWrite("\"kind\":\"database\",\"db\":" + JsonString(name) + ",\"type\":" + std::to_string(type), ok);
    return ok ? static_cast<uint32_t>(id) : 0;
}

DbHandle OpenDatabase(const char* name) {
    if (!ValidDatabaseName(name)) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return kNoDatabase;
    Store& s = TheStore();
    Statement find(s.db, "SELECT id FROM databases WHERE name = ?1");
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
    if (!wrote) return Succeed();
    for (const OpenDatabaseSlot& other : TheStore().databases) {
        if (other.wrote) return Succeed();
    }
    return FinishBatch();
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
    Statement query(TheStore().db, "SELECT prop_id, number, text FROM props WHERE record_id = ?1 ORDER BY slot");
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
        Statement owner(s.db, "SELECT 1 FROM records WHERE id = ?1 AND db_id = ?2");
        const int rc = owner.Bind(1, record).Bind(2, open->id).Step();
        if (rc == SQLITE_DONE) return Fail(kStoreInvalidParameter);
        if (rc != SQLITE_ROW) return Fail(ErrorFor(rc));
    }
    if (!s.batchOpen) {
        if (!Run("BEGIN IMMEDIATE")) return Fail(ErrorFor(sqlite3_errcode(s.db)));
        s.batchOpen = true;
    }
    open->wrote = true;
    int64_t id = record;
    const bool ok = Atomic([&]() -> uint32_t {
        if (id == 0) {
            Statement insert(s.db, "INSERT INTO records(db_id) VALUES(?1)");
            const int rc = insert.Bind(1, open->id).Step();
            if (rc != SQLITE_DONE) return ErrorFor(rc);
            id = sqlite3_last_insert_rowid(s.db);
        }
        Statement upsert(s.db,
                         "INSERT INTO props(record_id, prop_id, slot, number, text) VALUES(?1, ?2, "
                         "(SELECT COALESCE(MAX(slot) + 1, 0) FROM props WHERE record_id = ?1), ?3, ?4) "
                         "ON CONFLICT(record_id, prop_id) DO UPDATE SET number = excluded.number, text = excluded.text");
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
    TraceWrite("\"kind\":\"record\",\"db\":" + JsonString(open->name) + ",\"record\":" + std::to_string(id) +
                   ",\"props\":" + std::to_string(count),
               ok);
    return ok ? static_cast<RecordId>(id) : 0;
}

// ---------------------------------------------------------------------------
// The hosts' own preferences

bool ReadHostPreference(const char* name, int32_t& value) {
    if (!name) return Fail(kStoreInvalidParameter);
    if (!EnsureOpen()) return false;
    Statement query(TheStore().db, "SELECT number FROM host_prefs WHERE name = ?1");
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
        Statement upsert(s.db,
                         "INSERT INTO host_prefs(name, number) VALUES(?1, ?2) "
                         "ON CONFLICT(name) DO UPDATE SET number = excluded.number");
        return ErrorFor(upsert.Bind(1, name).Bind(2, value).Step());
    });
    TraceWrite("\"kind\":\"host\",\"name\":" + JsonString(name) + ",\"value\":" + std::to_string(value), ok);
    return ok;
}

std::string StorePath() { return (DataDir() / kFileName).string(); }

void CloseStore() {
    Store& s = TheStore();
    s.Close();
    s = Store{};
}

// ---------------------------------------------------------------------------

namespace testing {

void OpenStoreImage(const std::vector<uint8_t>& image) {
    CloseStore();
    sqlite3* db = nullptr;
    int rc = sqlite3_open(":memory:", &db);
    if (rc == SQLITE_OK && !image.empty()) {
        // SQLite owns the copy from here on, also when it refuses it.
        auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
        if (copy == nullptr) {
            rc = SQLITE_NOMEM;
        } else {
            std::memcpy(copy, image.data(), image.size());
            // Memory has no write-ahead log: a file in that mode reads as one without.
            if (image.size() > 19 && copy[18] == 2 && copy[19] == 2) copy[18] = copy[19] = 1;
            rc = sqlite3_deserialize(db, "main", copy, static_cast<sqlite3_int64>(image.size()),
                                     static_cast<sqlite3_int64>(image.size()),
                                     SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
        }
    }
    if (rc == SQLITE_OK && CheckAndPrepare(db, false) == OpenResult::kOpened) {
        TheStore().db = db;
        return;
    }
    sqlite3_close(db);
    OpenInMemory("The store could not be read.");
}

std::vector<uint8_t> StoreImage() {
    std::vector<uint8_t> image;
    if (!EnsureOpen()) return image;
    sqlite3_int64 size = 0;
    unsigned char* bytes = sqlite3_serialize(TheStore().db, "main", &size, 0);
    if (bytes != nullptr) image.assign(bytes, bytes + size);
    sqlite3_free(bytes);
    return image;
}

bool ExecuteInStore(const char* sql) { return EnsureOpen() && Exec(TheStore().db, sql); }

void LimitStorePages(uint32_t pages) {
    if (!EnsureOpen()) return;
    const std::string pragma = "PRAGMA max_page_count=" + std::to_string(pages == 0 ? 1073741823u : pages);
    Exec(TheStore().db, pragma.c_str());
}

}  // namespace testing
}  // namespace plat
