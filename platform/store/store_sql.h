// Every statement the store runs once it is open, each named once: the kept
// statements are found by the address of their SQL, and all of them are
// prepared when the store opens, so the first save of a hunt parses nothing.
#pragma once

namespace plat::store::sql {

inline constexpr char kBegin[] = "BEGIN IMMEDIATE";
inline constexpr char kCommit[] = "COMMIT";
inline constexpr char kSavepoint[] = "SAVEPOINT unit";
inline constexpr char kRelease[] = "RELEASE unit";

inline constexpr char kFindKey[] = "SELECT id FROM reg_keys WHERE path = ?1";
inline constexpr char kInsertKey[] = "INSERT INTO reg_keys(path) VALUES(?1)";
inline constexpr char kFindValue[] = "SELECT number, text FROM reg_values WHERE key_id = ?1 AND name = ?2";
inline constexpr char kWriteValue[] =
    "INSERT INTO reg_values(key_id, name, number, text) VALUES(?1, ?2, ?3, ?4) "
    "ON CONFLICT(key_id, name) DO UPDATE SET number = excluded.number, text = excluded.text";
inline constexpr char kFindHostPref[] = "SELECT number FROM host_prefs WHERE name = ?1";
inline constexpr char kWriteHostPref[] =
    "INSERT INTO host_prefs(name, number) VALUES(?1, ?2) ON CONFLICT(name) DO UPDATE SET number = excluded.number";

inline constexpr char kInsertDatabase[] = "INSERT INTO databases(name, type) VALUES(?1, ?2)";
inline constexpr char kFindDatabase[] = "SELECT id FROM databases WHERE name = ?1";
inline constexpr char kSeekNextRecord[] =
    "SELECT id, (SELECT COUNT(*) FROM records r WHERE r.db_id = ?1 AND r.id < records.id) FROM records "
    "WHERE db_id = ?1 AND id > ?2 ORDER BY id LIMIT 1";
inline constexpr char kSeekLastRecord[] =
    "SELECT id, (SELECT COUNT(*) - 1 FROM records WHERE db_id = ?1) FROM records WHERE db_id = ?1 "
    "ORDER BY id DESC LIMIT 1";
inline constexpr char kReadProps[] = "SELECT prop_id, number, text FROM props WHERE record_id = ?1 ORDER BY slot";
inline constexpr char kRecordOwner[] = "SELECT 1 FROM records WHERE id = ?1 AND db_id = ?2";
inline constexpr char kInsertRecord[] = "INSERT INTO records(db_id) VALUES(?1)";
inline constexpr char kWriteProp[] =
    "INSERT INTO props(record_id, prop_id, slot, number, text) VALUES(?1, ?2, "
    "(SELECT COALESCE(MAX(slot) + 1, 0) FROM props WHERE record_id = ?1), ?3, ?4) "
    "ON CONFLICT(record_id, prop_id) DO UPDATE SET number = excluded.number, text = excluded.text";

inline constexpr const char* kAll[] = {
    kBegin,        kCommit,         kSavepoint,    kRelease,        kFindKey,        kInsertKey,
    kFindValue,    kWriteValue,     kFindHostPref, kWriteHostPref,  kInsertDatabase, kFindDatabase,
    kSeekNextRecord, kSeekLastRecord, kReadProps,  kRecordOwner,    kInsertRecord,   kWriteProp,
};

}  // namespace plat::store::sql
