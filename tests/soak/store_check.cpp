// Checks the store a run left (REEDSHOT_DATA_DIR) as the game opens it: every setting present and in range, the
// high-score table ten records long and in order. Prints each fault; exit status 1 when any.
#include <cstdio>
#include <cstring>

#include "persist/high_score_table.h"
#include "persist/settings.h"
#include "platform/platform.h"
#include "platform/testing.h"

namespace {

int g_faults = 0;

void Fault(const char* what, const char* name, long value) {
    std::printf("store: %s %s (%ld)\n", what, name, value);
    ++g_faults;
}

// A name as the name entry makes them: letters, digits and blanks, at most `longest`.
bool PlainName(const char* name, size_t longest) {
    const size_t length = strnlen(name, longest + 1);
    for (size_t i = 0; i < length; ++i) {
        if (std::strchr("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ", name[i]) == nullptr) return false;
    }
    return length <= longest;
}

void CheckSettings() {
    plat::KeyHandle key = plat::kNoKey;
    bool created = false;
    if (!plat::OpenOrCreateKey("Corvane\\Reedshot", key, created) || created) return Fault("no settings key", "", 0);
    constexpr int32_t kAny = 0x7FFFFFFF;
    const struct {
        const char* name;
        int32_t low, high;
    } ranges[] = {{"SoundVol", 0, kVolumeTop}, {"MusicVol", 0, kVolumeTop}, {"PersentageSuccess", 0, 100},
                  {"MenuAnimation", 0, 1},     {"SpecialEffects", 0, 1},    {"KilledDucks", 0, kAny},
                  {"KilledLeafs", 0, kAny},    {"NegPoints", -kAny, kAny},  {"LastScores", -kAny, kAny}};
    for (const auto& r : ranges) {
        int32_t value = 0;
        if (!plat::ReadNumber(key, r.name, value)) Fault("missing", r.name, 0);
        else if (value < r.low || value > r.high) Fault("out of range:", r.name, value);
    }
    for (const char* name : {"UserName", "PlayerName"}) {
        char text[64] = {};
        if (!plat::ReadString(key, name, text, sizeof text)) Fault("missing", name, 0);
        else if (!PlainName(text, 8)) Fault("a name the game cannot have:", name, static_cast<long>(std::strlen(text)));
    }
    plat::CloseKey(key);
}

void CheckHighScores() {
    const plat::DbHandle db = plat::OpenDatabase("HISCORE");
    if (db == plat::kNoDatabase) return Fault("no high-score table", "", 0);
    uint32_t last = 0;
    const bool any = plat::SeekDatabase(db, plat::SeekFrom::kEnd, &last) != 0;
    plat::CloseDatabase(db);
    if (!any || last + 1 != kHighScoreCount) Fault("high-score records:", "", any ? static_cast<long>(last) + 1 : 0);
    // Scores descending over all ten, the empty ones counting as 0: a negative score sorts below them.
    HighScoreTable table;
    table.Load();
    int newOnes = 0;
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        const HighScoreEntry entry = table.GetEntry(i);
        if (!PlainName(entry.name, kHighScoreNameSize - 1)) Fault("a bad name at", "", i);
        if (i > 0 && table.GetEntry(i - 1).score < entry.score) Fault("out of order at", "", i);
        newOnes += entry.isNew ? 1 : 0;
    }
    if (newOnes > 1) Fault("more than one newest entry:", "", newOnes);
    std::printf("store: %d high scores, best %d\n", table.CountUsed(), table.CountUsed() > 0 ? table.GetEntry(0).score : 0);
}

}  // namespace

int main() {
    CheckSettings();
    CheckHighScores();
    for (const auto& box : plat::testing::MessageBoxes()) Fault("message box:", box.text.c_str(), 0);
    std::printf(g_faults == 0 ? "store: valid\n" : "store: %d faults\n", g_faults);
    return g_faults == 0 ? 0 : 1;
}
