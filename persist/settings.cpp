#include "persist/settings.h"

#include "sound/sound_manager.h"

namespace {

constexpr const char* kKeyPath = "Corvane\\Reedshot";
constexpr int32_t kDefaultVolume = 64;
constexpr int32_t kMaxPercentage = 100;

constexpr SettingsFields kDefaults = {"NONAME", "NONAME", 0, kDefaultVolume, kDefaultVolume, 0, 0, 0, 0, true, true};

// A hand-edited volume or percentage out of range would put the sliders and
// the statistics off their scales.
int32_t Clamp(int32_t value, int32_t top) { return value < 0 ? 0 : value > top ? top : value; }

}  // namespace

Settings::Settings(snd::SoundManager& sound)
    : SettingsFields(kDefaults), highScores(std::make_unique<HighScoreTable>()), sound_(sound) {
    highScores->CreateIfMissing();
    highScores->Load();
    Load();
}

Settings::~Settings() {
    if (key_ != plat::kNoKey) {
        Save();
        plat::CloseKey(key_);
    }
    highScores->Save();
}

void Settings::ResetToDefaults() {
    static_cast<SettingsFields&>(*this) = kDefaults;
    resultScore = 0;
    resultPending = false;
    sound_.SetEffectVolume(kDefaultVolume);
    sound_.SetMusicVolume(kDefaultVolume);
}

void Settings::Load() {
    bool created = false;
    if (!plat::OpenOrCreateKey(kKeyPath, key_, created) || created) {
        ResetToDefaults();
        return;
    }
    // A missing value resets everything read so far; later values still load.
    auto read = [this](const char* name, int32_t& field) {
        if (plat::ReadNumber(key_, name, field)) return true;
        ResetToDefaults();
        return false;
    };
    if (read("SoundVol", SoundVol)) sound_.SetEffectVolume(SoundVol = Clamp(SoundVol, kVolumeTop));
    if (read("MusicVol", MusicVol)) sound_.SetMusicVolume(MusicVol = Clamp(MusicVol, kVolumeTop));
    read("KilledDucks", KilledDucks);
    read("KilledLeafs", KilledLeafs);
    read("NegPoints", NegPoints);
    if (read("PersentageSuccess", PersentageSuccess)) PersentageSuccess = Clamp(PersentageSuccess, kMaxPercentage);
    read("LastScores", LastScores);
    int32_t flag = 0;
    if (read("MenuAnimation", flag)) MenuAnimation = flag == 1;
    if (read("SpecialEffects", flag)) SpecialEffects = flag == 1;
    // A longer stored name is cut to fit; a missing one leaves the field alone.
    uint32_t bytes = 0;
    if (plat::ReadStringSize(key_, "UserName", bytes)) plat::ReadString(key_, "UserName", UserName, kNameSize);
    if (plat::ReadStringSize(key_, "PlayerName", bytes)) plat::ReadString(key_, "PlayerName", PlayerName, kNameSize);
}

void Settings::Save() {
    // One commit for all the values: each of its own made the end of a hunt
    // wait for eleven flushes to the disk.
    plat::BeginStoreWrites();
    bool reported = false;
    auto check = [&reported](bool written) {
        if (written) return;
        plat::MessageBox("Can not add information into registry!", nullptr, plat::kMbOk);
        reported = true;
    };
    check(plat::WriteNumber(key_, "SoundVol", SoundVol));
    check(plat::WriteNumber(key_, "MusicVol", MusicVol));
    check(plat::WriteNumber(key_, "KilledDucks", KilledDucks));
    check(plat::WriteNumber(key_, "KilledLeafs", KilledLeafs));
    check(plat::WriteNumber(key_, "NegPoints", NegPoints));
    check(plat::WriteNumber(key_, "PersentageSuccess", PersentageSuccess));
    check(plat::WriteNumber(key_, "LastScores", LastScores));
    check(plat::WriteString(key_, "UserName", UserName));
    check(plat::WriteString(key_, "PlayerName", PlayerName));
    check(plat::WriteNumber(key_, "MenuAnimation", MenuAnimation ? 1 : 0));
    check(plat::WriteNumber(key_, "SpecialEffects", SpecialEffects ? 1 : 0));
    if (!plat::EndStoreWrites() && !reported) check(false);
}
