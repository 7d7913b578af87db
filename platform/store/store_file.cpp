// The object store on SQLite: one file per user, written in transactions with
// a write-ahead log and full syncs, so a kill at any moment leaves either the
// old or the new contents. A file that is damaged is set aside, never lost.
#include "platform/store/store_file.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/store/store_connection.h"
#include "platform/store/store_host.h"
#include "platform/store/store_statement.h"
#include "platform/store/store_testing.h"

namespace plat {
namespace store {
namespace {

constexpr const char* kFileName = "store.sqlite";
constexpr int32_t kApplicationId = 0x52534854;  // marks the file as ours

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

}  // namespace

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
    if (!s.db) return Fail(kStoreNotEnoughMemory);
    PrepareStatements();
    return true;
}

}  // namespace store

using namespace store;

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
