// Everything the program remembers between runs apart from the high scores:
// volumes, display switches, names and the last hunt's statistics, one
// registry value each under Corvane\Reedshot. It also owns the high-score table.
#pragma once

#include <cstdint>
#include <memory>

#include "persist/high_score_table.h"
#include "platform/platform.h"

namespace snd {
class SoundManager;
}

constexpr uint32_t kNameSize = 9;  // 8 letters and the terminator
// The top of the volume sliders; a volume above 64 is kept as set and plays at 64.
constexpr int16_t kVolumeTop = 70;

// The run of fields that the options screen copies on entry and puts back on
// cancel; the names are also the registry value names.
struct SettingsFields {
    char UserName[kNameSize];    // the current player
    char PlayerName[kNameSize];  // the player of the last finished hunt
    int32_t LastScores;
    int32_t SoundVol;  // 0..kVolumeTop
    int32_t MusicVol;  // 0..kVolumeTop
    int32_t KilledDucks;
    int32_t KilledLeafs;
    int32_t NegPoints;
    int32_t PersentageSuccess;  // 0..100
    bool MenuAnimation;
    bool SpecialEffects;
};

class Settings : public SettingsFields {
public:
    // Creates and loads the high-score table, then the registry values, and
    // hands the volumes to the sound manager.
    explicit Settings(snd::SoundManager& sound);
    // Saves the registry values and the high-score table. It does not touch
    // the sound manager, which may already be gone.
    virtual ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // Writes every registry value; each failed write is reported on its own.
    void Save();
    // Every field back to its default, and both volumes to the sound manager.
    void ResetToDefaults();

    std::unique_ptr<HighScoreTable> highScores;
    int32_t resultScore = 0;     // the score waiting for the high-score table
    bool resultPending = false;  // a finished hunt waits for the high-score screen

private:
    void Load();

    snd::SoundManager& sound_;
    plat::KeyHandle key_ = plat::kNoKey;
};
