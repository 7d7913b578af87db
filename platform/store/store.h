// The per-user object store: a registry of keys holding named numbers and
// strings, and property databases of ordered records with typed properties.
// Both live in one file that a crash or a kill cannot leave half written.
// Main thread only. Every operation sets the store's last error (0 when it
// succeeded).
#pragma once

#include <cstdint>

namespace plat {

// Error codes, numbered as the handheld numbered them.
enum StoreError : uint32_t {
    kStoreOk = 0,
    kStoreFileNotFound = 2,
    kStoreInvalidHandle = 6,
    kStoreNotEnoughMemory = 8,
    kStoreWriteFault = 29,
    kStoreDupName = 52,
    kStoreInvalidParameter = 87,
    kStoreDiskFull = 112,
    kStoreNoMoreItems = 259,
};

// The error of the last store operation.
uint32_t StoreLastError();

// Writes committed since the program started: a host that keeps a copy of
// the file elsewhere copies it when this moves.
uint32_t StoreCommits();

// ---------------------------------------------------------------------------
// Registry. Key paths are backslash-separated below the current user's root;
// key paths and value names compare without regard to case.

using KeyHandle = uint32_t;
constexpr KeyHandle kNoKey = 0;

// Opens the key, creating it when missing; `created` tells which happened.
bool OpenOrCreateKey(const char* path, KeyHandle& key, bool& created);
void CloseKey(KeyHandle key);

// A read fails when the value is missing or of the other kind; the output is
// then left alone.
bool ReadNumber(KeyHandle key, const char* name, int32_t& value);
// Bytes the stored string takes, terminator included.
bool ReadStringSize(KeyHandle key, const char* name, uint32_t& bytes);
// Copies the string, cut to capacity - 1 characters and always terminated.
bool ReadString(KeyHandle key, const char* name, char* buffer, uint32_t capacity);

// Each write is committed on its own, unless a batch is open (below), which it
// then joins.
bool WriteNumber(KeyHandle key, const char* name, int32_t value);
bool WriteString(KeyHandle key, const char* name, const char* text);

// The writes between these two join one batch, committed by EndStoreWrites
// (or by the last database close after it): saving many values costs one
// commit, not one each. False when the commit failed.
void BeginStoreWrites();
bool EndStoreWrites();

// ---------------------------------------------------------------------------
// Property databases. A property id carries the property's type in its low
// 16 bits and its position in the record in its high 16 bits.

enum PropType : uint16_t {
    kPropNumber = 3,   // signed 32-bit
    kPropBool = 11,    // number 0 or not
    kPropString = 31,
};

constexpr uint32_t PropId(uint16_t position, PropType type) {
    return static_cast<uint32_t>(position) << 16 | type;
}
constexpr PropType PropTypeOf(uint32_t id) { return static_cast<PropType>(id & 0xFFFF); }
constexpr uint16_t PropPositionOf(uint32_t id) { return static_cast<uint16_t>(id >> 16); }

struct DbProp {
    uint32_t id;
    int32_t number;    // number and bool properties
    const char* text;  // string properties
};

using DbHandle = uint32_t;
constexpr DbHandle kNoDatabase = 0;
// Record identifiers are never 0; writing to record 0 creates a record.
using RecordId = uint32_t;

// The new database's identifier, or 0: kStoreDupName when the name is taken,
// kStoreInvalidParameter for an empty name or one over 32 characters.
uint32_t CreateDatabase(const char* name, uint32_t type);

// kNoDatabase on failure: kStoreFileNotFound, kStoreInvalidParameter for a bad
// name, kStoreNotEnoughMemory when no more handles are free. The current
// record starts at the first one.
DbHandle OpenDatabase(const char* name);

// Writes through a database are gathered in one batch that is committed when
// the last database written to is closed: a crash before that keeps every
// record as it was. False when the commit failed.
bool CloseDatabase(DbHandle db);

enum class SeekFrom { kBeginning, kEnd, kNext };

// Makes a record current and returns its identifier, with its index in the
// database in `index` when given; 0 (kStoreNoMoreItems) when there is no such
// record. Records keep the order in which they were created.
RecordId SeekDatabase(DbHandle db, SeekFrom from, uint32_t* index = nullptr);

// Every property of the current record, in the order they were first written,
// in one block that the caller hands back to FreeRecord.
RecordId ReadRecord(DbHandle db, DbProp*& props, uint16_t& count);
void FreeRecord(DbProp* props);

// Writes the properties over the record (0: a new record at the end) and makes
// it current. Properties the record had and the write does not name stay.
// kStoreInvalidParameter for no properties, an unknown type, a missing
// string or a record of another database; kStoreDiskFull when out of room.
RecordId WriteRecord(DbHandle db, RecordId record, const DbProp* props, uint16_t count);

}  // namespace plat
