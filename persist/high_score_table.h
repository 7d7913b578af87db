// The ten best hunts, kept in the "HISCORE" property database: ten records of
// five properties, record i holding entry i.
#pragma once

#include <cstdint>

#include "platform/platform.h"

constexpr int32_t kHighScoreCount = 10;
constexpr uint32_t kHighScoreNameSize = 10;  // terminator included

struct HighScoreEntry {
    bool isNew;  // the latest one inserted
    int32_t score;
    int32_t reserved1;  // stored and loaded, never shown
    int32_t reserved2;
    char name[kHighScoreNameSize];

    bool IsEmpty() const { return name[0] == '\0' && score == 0; }
};

// One property value, owning a copy of its string.
class CCeDbProp {
public:
    static constexpr uint32_t kMaxText = 200;

    void SetBool(uint16_t position, bool value);
    void SetNumber(uint16_t position, int32_t value);
    // Null stores the empty string. A string of kMaxText characters or more is
    // refused with a message and kept cut to fit.
    void SetText(uint16_t position, const char* text);

    plat::DbProp Value() const;

private:
    plat::DbProp prop_{};
    char text_[kMaxText] = {};
};

class HighScoreTable {
public:
    HighScoreTable();
    virtual ~HighScoreTable() = default;

    // Makes the database with ten empty records unless it exists already.
    void CreateIfMissing();
    void Load();
    // Writes the ten entries over the ten records.
    void Save();
    // Empties every entry in memory; the database follows at the next Save.
    void Clear();
    // Places a finished hunt's entry; true when it went in.
    bool Insert(const HighScoreEntry& entry);
    // Scores descending, equal scores by name ascending.
    void Sort();
    // The index of the first empty entry, or 10 when none is empty.
    int32_t CountUsed() const;
    // A copy of entry `index`; an empty entry (after a message) when out of range.
    HighScoreEntry GetEntry(int32_t index) const;

private:
    plat::DbHandle Open() const;

    HighScoreEntry entries_[kHighScoreCount];
};
