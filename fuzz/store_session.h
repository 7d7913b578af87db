// What the game does with its store in one run, checked: the settings and the
// high-score table are loaded, then saved as the program closes, and a second
// run must load exactly what the first one saved.
#pragma once

#include <cstring>

#include "fuzz/require.h"
#include "persist/settings.h"
#include "platform/store/store_testing.h"
#include "platform/testing.h"
#include "sound/sound_manager.h"

namespace fuzzstore {

template <size_t N>
bool Terminated(const char (&text)[N]) {
    return std::memchr(text, '\0', N) != nullptr;
}

struct Snapshot {
    SettingsFields fields;
    HighScoreEntry scores[kHighScoreCount];
};

// Loaded values stay in the ranges the screens rely on.
inline Snapshot Check(const Settings& settings) {
    FUZZ_REQUIRE(settings.SoundVol >= 0 && settings.SoundVol <= kVolumeTop);
    FUZZ_REQUIRE(settings.MusicVol >= 0 && settings.MusicVol <= kVolumeTop);
    FUZZ_REQUIRE(settings.PersentageSuccess >= 0 && settings.PersentageSuccess <= 100);
    FUZZ_REQUIRE(Terminated(settings.UserName) && Terminated(settings.PlayerName));
    Snapshot shot{settings, {}};
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        shot.scores[i] = settings.highScores->GetEntry(i);
        FUZZ_REQUIRE(Terminated(shot.scores[i].name));
    }
    return shot;
}

inline bool SameName(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

inline void RequireSame(const Snapshot& saved, const Snapshot& loaded) {
    const SettingsFields& a = saved.fields;
    const SettingsFields& b = loaded.fields;
    FUZZ_REQUIRE(SameName(a.UserName, b.UserName) && SameName(a.PlayerName, b.PlayerName));
    FUZZ_REQUIRE(a.LastScores == b.LastScores && a.SoundVol == b.SoundVol && a.MusicVol == b.MusicVol);
    FUZZ_REQUIRE(a.KilledDucks == b.KilledDucks && a.KilledLeafs == b.KilledLeafs && a.NegPoints == b.NegPoints);
    FUZZ_REQUIRE(a.PersentageSuccess == b.PersentageSuccess);
    FUZZ_REQUIRE(a.MenuAnimation == b.MenuAnimation && a.SpecialEffects == b.SpecialEffects);
    for (int32_t i = 0; i < kHighScoreCount; ++i) {
        const HighScoreEntry& x = saved.scores[i];
        const HighScoreEntry& y = loaded.scores[i];
        FUZZ_REQUIRE(x.isNew == y.isNew && x.score == y.score && SameName(x.name, y.name));
        FUZZ_REQUIRE(x.reserved1 == y.reserved1 && x.reserved2 == y.reserved2);
    }
}

// Two runs on the store that is open now; it is closed afterwards.
inline void RunTwice() {
    plat::SilentWaveOut device;  // the manager only keeps its volumes
    snd::SoundManager sound(device);
    Snapshot saved{};
    {
        Settings settings(sound);
        saved = Check(settings);
    }
    // A save the store refused is reported; only a clean one must come back whole.
    const bool savedCleanly = plat::testing::MessageBoxes().empty();
    {
        Settings settings(sound);
        const Snapshot loaded = Check(settings);
        if (savedCleanly) RequireSame(saved, loaded);
    }
    plat::testing::CloseStore();
    plat::testing::Reset();
}

}  // namespace fuzzstore
