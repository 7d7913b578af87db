#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "persist/settings.h"
#include "sound/sound_manager.h"
#include "tests/persist/store_fixture.h"

namespace {

class SettingsTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        sound_ = std::make_unique<snd::SoundManager>(device_);
        sound_->SetEffectVolume(7);  // anything but what the settings will hand over
    }

    // Writes the key by hand, as an earlier run would have left it.
    static void StoreAll(const char* skip = "") {
        const plat::KeyHandle key = OpenKey();
        const std::pair<const char*, int32_t> numbers[] = {
            {"SoundVol", 20},   {"MusicVol", 30},          {"KilledDucks", 11}, {"KilledLeafs", 12},    {"NegPoints", 150},
            {"PersentageSuccess", 77}, {"LastScores", 940}, {"MenuAnimation", 0}, {"SpecialEffects", 0}};
        for (const auto& [name, value] : numbers) {
            if (std::string(name) != skip) { ASSERT_TRUE(plat::WriteNumber(key, name, value)); }
        }
        ASSERT_TRUE(plat::WriteString(key, "UserName", "ROBIN") && plat::WriteString(key, "PlayerName", "WREN"));
    }

    // The numbers and names as one line, to compare whole.
    std::string Describe(const Settings& s) const {
        char line[200];
        std::snprintf(line, sizeof line, "vol %d/%d (%d) ducks %d leaves %d neg %d pct %d last %d anim %d fx %d %s %s",
                      s.SoundVol, s.MusicVol, sound_->GetEffectVolume(), s.KilledDucks, s.KilledLeafs, s.NegPoints,
                      s.PersentageSuccess, s.LastScores, s.MenuAnimation, s.SpecialEffects, s.UserName, s.PlayerName);
        return line;
    }
    static constexpr const char* kDefaults = "vol 64/64 (64) ducks 0 leaves 0 neg 0 pct 0 last 0 anim 1 fx 1 NONAME NONAME";

    plat::SilentWaveOut device_;  // the manager only keeps its volumes
    std::unique_ptr<snd::SoundManager> sound_;
};

TEST_F(SettingsTest, FirstRunStartsFromDefaultsEverythingComesBackOnTheNextRunAndFailedWritesAreReported) {
    {
        Settings settings(*sound_);
        EXPECT_TRUE(Describe(settings) == kDefaults && settings.highScores->CountUsed() == 0) << Describe(settings);
        settings.SoundVol = 70;  // the slider's top, kept though it plays at 64
        settings.MusicVol = 0;
        settings.KilledDucks = 3;
        settings.KilledLeafs = 4;
        settings.NegPoints = 100;
        settings.PersentageSuccess = 42;
        settings.LastScores = -60;
        settings.MenuAnimation = false;
        std::snprintf(settings.UserName, kNameSize, "%s", "ABCDEFGH");
        std::snprintf(settings.PlayerName, kNameSize, "%s", "ANNA");
        HighScoreEntry entry{true, 880, 0, 0, "ABCDEFGH"};
        ASSERT_TRUE(settings.highScores->Insert(entry));
        settings.resultPending = true;
        const uint32_t commits = plat::StoreCommits();
        settings.Save();
        EXPECT_EQ(plat::StoreCommits() - commits, 1u);  // every value in one commit
    }
    Restart();
    Settings settings(*sound_);
    EXPECT_EQ(Describe(settings), "vol 70/0 (70) ducks 3 leaves 4 neg 100 pct 42 last -60 anim 0 fx 1 ABCDEFGH ANNA");
    EXPECT_TRUE(!settings.resultPending && settings.highScores->GetEntry(0).score == 880 && Messages().empty());  // pending: not kept
    // Reset to defaults puts back every field and both volumes.
    settings.resultScore = 300;
    settings.resultPending = true;
    settings.ResetToDefaults();
    EXPECT_TRUE(Describe(settings) == kDefaults && settings.resultScore == 0 && !settings.resultPending) << Describe(settings);
    // Each settings object gives its key back: forty in a row still open theirs.
    for (int i = 0; i < 40; ++i) {
        Settings another(*sound_);
    }
    EXPECT_TRUE(Messages().empty());
    OpenKey();
    // With the store gone every failed write is reported.
    plat::testing::CloseStore();
    plat::testing::Reset();
    settings.Save();
    EXPECT_EQ(Boxes(), std::vector<std::string>(11, "Can not add information into registry!|Error|" + std::to_string(plat::kMbOk)));
}

// What the store holds, changed after StoreAll, and what the next run reads.
TEST_F(SettingsTest, StoredValuesAreReadStrictlyAndOneMissingResetsWhatCameBeforeIt) {
    const struct {
        const char* skip;
        const char* sql;
        const char* expected;
    } cases[] = {
        {"", "", "vol 20/30 (20) ducks 11 leaves 12 neg 150 pct 77 last 940 anim 0 fx 0 ROBIN WREN"},
        {"NegPoints", "", "vol 64/64 (64) ducks 0 leaves 0 neg 0 pct 77 last 940 anim 0 fx 0 ROBIN WREN"},
        // Only 1 is on; volumes and percentage clamped; a name cut; a number where a name belongs unreadable.
        {"",
         "UPDATE reg_values SET number = CASE name WHEN 'MenuAnimation' THEN 2 WHEN 'SpecialEffects' THEN 1 "
         "WHEN 'SoundVol' THEN 500 WHEN 'MusicVol' THEN -3 WHEN 'PersentageSuccess' THEN 250 ELSE number END, "
         "text = CASE name WHEN 'UserName' THEN 'ABCDEFGHIJKL' ELSE text END;"
         "UPDATE reg_values SET number = 5, text = NULL WHERE name = 'PlayerName'",
         "vol 70/0 (70) ducks 11 leaves 12 neg 150 pct 100 last 940 anim 0 fx 1 ABCDEFGH NONAME"},
        {"", "UPDATE reg_values SET number = -4 WHERE name = 'PersentageSuccess'",
         "vol 20/30 (20) ducks 11 leaves 12 neg 150 pct 0 last 940 anim 0 fx 0 ROBIN WREN"},
        // 2^32 + 940 used to be cut to 940: it reads as missing.
        {"", "UPDATE reg_values SET number = 4294968236 WHERE name = 'LastScores'",
         "vol 64/64 (64) ducks 0 leaves 0 neg 0 pct 0 last 0 anim 0 fx 0 ROBIN WREN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        Again();
        StoreAll(c.skip);
        if (*c.sql != 0) { ASSERT_TRUE(plat::testing::ExecuteInStore(c.sql)); }
        Restart();
        EXPECT_EQ(Describe(Settings(*sound_)), c.expected);
        EXPECT_TRUE(Messages().empty());
    }
}

}  // namespace
