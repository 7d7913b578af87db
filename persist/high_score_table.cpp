#include "persist/high_score_table.h"

#include <cstring>
#include <utility>

namespace {

constexpr const char* kDatabaseName = "HISCORE";
constexpr uint32_t kDatabaseType = 0x48534352;  // "HSCR"; the database is always found by name
constexpr uint16_t kPropCount = 5;

// Positions of the five properties in a record.
enum : uint16_t { kIsNew, kScore, kReserved1, kReserved2, kName };

constexpr HighScoreEntry kEmptyEntry = {false, 0, 0, 0, ""};

void CopyName(char (&to)[kHighScoreNameSize], const char* from) {
    std::strncpy(to, from, kHighScoreNameSize - 1);
    to[kHighScoreNameSize - 1] = '\0';
}

// True when `a` gives way to `b`: a lower score, or an equal one with a name
// that is not before b's.
bool GivesWayTo(const HighScoreEntry& a, const HighScoreEntry& b) {
    return a.score < b.score || (a.score == b.score && std::strcmp(a.name, b.name) >= 0);
}

void ShowError(const char* text, uint32_t flags) { plat::MessageBox(text, "Error", flags); }

}  // namespace

void CCeDbProp::SetBool(uint16_t position, bool value) {
    prop_ = {plat::PropId(position, plat::kPropBool), static_cast<int16_t>(value), nullptr};
}

void CCeDbProp::SetNumber(uint16_t position, int32_t value) {
    prop_ = {plat::PropId(position, plat::kPropNumber), value, nullptr};
}

void CCeDbProp::SetText(uint16_t position, const char* text) {
    const char* from = text ? text : "";
    size_t length = std::strlen(from);
    if (length >= kMaxText) {
        plat::MessageBox("Very long string??", nullptr, plat::kMbIconStop);
        length = kMaxText - 1;
    }
    std::memcpy(text_, from, length);
    text_[length] = '\0';
    prop_ = {plat::PropId(position, plat::kPropString), 0, nullptr};
}

plat::DbProp CCeDbProp::Value() const {
    plat::DbProp value = prop_;
    // Pointing at our own copy here keeps a copied CCeDbProp self-contained.
    if (plat::PropTypeOf(value.id) == plat::kPropString) value.text = text_;
    return value;
}

HighScoreTable::HighScoreTable() { Clear(); }

void HighScoreTable::Clear() {
    for (HighScoreEntry& entry : entries_) entry = kEmptyEntry;
}

plat::DbHandle HighScoreTable::Open() const {
    const plat::DbHandle db = plat::OpenDatabase(kDatabaseName);
    if (db != plat::kNoDatabase) return db;
    switch (plat::StoreLastError()) {
        case plat::kStoreFileNotFound:
            ShowError("No database exists with the specified name.", plat::kMbIconStop);
            break;
        case plat::kStoreNotEnoughMemory:
            ShowError("No memory was available to allocate a database handle.", plat::kMbIconStop);
            break;
        case plat::kStoreInvalidParameter: ShowError("A parameter was invalid.", plat::kMbIconStop); break;
        default: break;
    }
    return plat::kNoDatabase;
}

void HighScoreTable::CreateIfMissing() {
    if (plat::CreateDatabase(kDatabaseName, kDatabaseType) == 0) {
        switch (plat::StoreLastError()) {
            case plat::kStoreDiskFull:
            case plat::kStoreInvalidParameter:
                ShowError("Unable to create HiScore database!", plat::kMbIconStop);
                return;
            case plat::kStoreDupName: return;
            default: break;
        }
    }
    // A new database has no records: writing the empty table creates all ten.
    Clear();
    Save();
}

void HighScoreTable::Load() {
    const plat::DbHandle db = plat::OpenDatabase(kDatabaseName);
    if (db == plat::kNoDatabase) return;
    uint32_t last = 0;
    const uint32_t count = plat::SeekDatabase(db, plat::SeekFrom::kEnd, &last) != 0 ? last + 1 : 0;
    plat::SeekDatabase(db, plat::SeekFrom::kBeginning);
    for (uint32_t i = 0; i < count && i < kHighScoreCount; ++i) {
        plat::DbProp* props = nullptr;
        uint16_t propCount = 0;
        if (plat::ReadRecord(db, props, propCount) != 0) {
            HighScoreEntry& entry = entries_[i];
            for (uint16_t p = 0; p < propCount; ++p) {
                const plat::DbProp& prop = props[p];
                switch (plat::PropTypeOf(prop.id)) {
                    case plat::kPropNumber:
                        if (plat::PropPositionOf(prop.id) == kScore) entry.score = prop.number;
                        if (plat::PropPositionOf(prop.id) == kReserved1) entry.reserved1 = prop.number;
                        if (plat::PropPositionOf(prop.id) == kReserved2) entry.reserved2 = prop.number;
                        break;
                    case plat::kPropBool: entry.isNew = prop.number != 0; break;
                    case plat::kPropString: CopyName(entry.name, prop.text); break;
                }
            }
            plat::FreeRecord(props);
        }
        plat::SeekDatabase(db, plat::SeekFrom::kNext);
    }
    plat::CloseDatabase(db);
}

void HighScoreTable::Save() {
    const plat::DbHandle db = Open();
    if (db == plat::kNoDatabase) return;
    bool reported = false;
    plat::RecordId record = plat::SeekDatabase(db, plat::SeekFrom::kBeginning);
    for (const HighScoreEntry& entry : entries_) {
        CCeDbProp props[kPropCount];
        props[kIsNew].SetBool(kIsNew, entry.isNew);
        props[kScore].SetNumber(kScore, entry.score);
        props[kReserved1].SetNumber(kReserved1, entry.reserved1);
        props[kReserved2].SetNumber(kReserved2, entry.reserved2);
        props[kName].SetText(kName, entry.name);
        plat::DbProp values[kPropCount];
        for (uint16_t p = 0; p < kPropCount; ++p) values[p] = props[p].Value();
        if (plat::WriteRecord(db, record, values, kPropCount) == 0) {
            const uint32_t error = plat::StoreLastError();
            if (error == plat::kStoreDiskFull) ShowError("Disk is full!", plat::kMbOk);
            if (error == plat::kStoreInvalidParameter) ShowError("Invalid parameter!", plat::kMbOk);
            reported = reported || error == plat::kStoreDiskFull || error == plat::kStoreInvalidParameter;
        }
        record = plat::SeekDatabase(db, plat::SeekFrom::kNext);
    }
    // The ten writes land together when the database closes; a failure there
    // loses all of them, so it must not pass unseen.
    if (!plat::CloseDatabase(db) && !reported && plat::StoreLastError() == plat::kStoreDiskFull) {
        ShowError("Disk is full!", plat::kMbOk);
    }
}

void HighScoreTable::Sort() {
    for (int32_t i = 0; i < kHighScoreCount - 1; ++i) {
        for (int32_t j = i + 1; j < kHighScoreCount; ++j) {
            if (GivesWayTo(entries_[i], entries_[j])) std::swap(entries_[i], entries_[j]);
        }
    }
}

bool HighScoreTable::Insert(const HighScoreEntry& entry) {
    const int32_t used = CountUsed();
    // Every entry, not only the used run: a negative score sorts below the
    // empty entries and would otherwise keep its mark.
    for (HighScoreEntry& older : entries_) older.isNew = false;
    if (used < kHighScoreCount) {
        if (entry.score == 0) return false;
        entries_[used] = entry;
        return true;
    }
    Sort();
    HighScoreEntry& last = entries_[kHighScoreCount - 1];
    if (GivesWayTo(last, entry)) {
        last = entry;
        return true;
    }
    return false;
}

int32_t HighScoreTable::CountUsed() const {
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        if (entries_[i].IsEmpty()) return i;
    }
    return kHighScoreCount;
}

HighScoreEntry HighScoreTable::GetEntry(int32_t index) const {
    if (index < 0 || index >= kHighScoreCount) {
        ShowError("This Number of record is bigger than is permitted", plat::kMbIconStop);
        return kEmptyEntry;
    }
    return entries_[index];
}
