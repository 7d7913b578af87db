#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "persist/settings.h"
#include "platform/platform.h"
#include "sound/sound_manager.h"
#include "tests/persist/store_fixture.h"

namespace {

constexpr const char* kPath = "Corvane\\Reedshot";

class SettingsTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        sound_ = std::make_unique<snd::SoundManager>(device_);
        sound_->SetEffectVolume(7);  // anything but what the settings will hand over
    }

    // Writes the key by hand, as an earlier run would have left it.
    static plat::KeyHandle StoredKey() {
        plat::KeyHandle key = plat::kNoKey;
        bool created = false;
        EXPECT_TRUE(plat::OpenOrCreateKey(kPath, key, created));
        return key;
    }

    static void StoreAll(plat::KeyHandle key, const char* skip = "") {
        const struct {
            const char* name;
            int32_t value;
        } numbers[] = {{"SoundVol", 20},   {"MusicVol", 30},          {"KilledDucks", 11}, {"KilledLeafs", 12},
                       {"NegPoints", 150}, {"PersentageSuccess", 77}, {"LastScores", 940}, {"MenuAnimation", 0},
                       {"SpecialEffects", 0}};
        for (const auto& number : numbers) {
            if (std::string(number.name) != skip) {
                ASSERT_TRUE(plat::WriteNumber(key, number.name, number.value));
            }
        }
        ASSERT_TRUE(plat::WriteString(key, "UserName", "ROBIN"));
        ASSERT_TRUE(plat::WriteString(key, "PlayerName", "WREN"));
    }

    static int32_t Stored(const char* name) {
        int32_t value = -999;
        EXPECT_TRUE(plat::ReadNumber(StoredKey(), name, value)) << name;
        return value;
    }

    static std::string StoredText(const char* name) {
        char text[64] = "";
        EXPECT_TRUE(plat::ReadString(StoredKey(), name, text, sizeof text)) << name;
        return text;
    }

    static void ExpectDefaults(const Settings& s) {
        EXPECT_STREQ(s.UserName, "NONAME");
        EXPECT_STREQ(s.PlayerName, "NONAME");
        EXPECT_EQ(s.SoundVol, 64);
        EXPECT_EQ(s.MusicVol, 64);
        EXPECT_EQ(s.LastScores + s.KilledDucks + s.KilledLeafs + s.NegPoints + s.PersentageSuccess, 0);
        EXPECT_TRUE(s.MenuAnimation);
        EXPECT_TRUE(s.SpecialEffects);
    }

    plat::SilentWaveOut device_;  // the manager only keeps its volumes
    std::unique_ptr<snd::SoundManager> sound_;
};

TEST_F(SettingsTest, FirstRunStartsFromDefaultsAndMakesTheTable) {
    {
        Settings settings(*sound_);
        ExpectDefaults(settings);
        EXPECT_EQ(sound_->GetEffectVolume(), 64);
        EXPECT_FALSE(settings.resultPending);
        EXPECT_EQ(settings.highScores->CountUsed(), 0);
        const plat::DbHandle db = plat::OpenDatabase("HISCORE");
        uint32_t last = 0;
        EXPECT_NE(plat::SeekDatabase(db, plat::SeekFrom::kEnd, &last), 0u);
        EXPECT_EQ(last, 9u);
        plat::CloseDatabase(db);
    }
    EXPECT_TRUE(Messages().empty());
    // Closing wrote every value.
    EXPECT_EQ(Stored("SoundVol"), 64);
    EXPECT_EQ(Stored("MenuAnimation"), 1);
    EXPECT_EQ(StoredText("UserName"), "NONAME");
}

TEST_F(SettingsTest, EverythingComesBackOnTheNextRun) {
    {
        Settings settings(*sound_);
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
    }
    Restart();
    Settings settings(*sound_);
    EXPECT_EQ(settings.SoundVol, 70);
    EXPECT_EQ(sound_->GetEffectVolume(), 70);
    EXPECT_EQ(settings.MusicVol, 0);
    EXPECT_EQ(settings.KilledDucks, 3);
    EXPECT_EQ(settings.KilledLeafs, 4);
    EXPECT_EQ(settings.NegPoints, 100);
    EXPECT_EQ(settings.PersentageSuccess, 42);
    EXPECT_EQ(settings.LastScores, -60);
    EXPECT_FALSE(settings.MenuAnimation);
    EXPECT_TRUE(settings.SpecialEffects);
    EXPECT_STREQ(settings.UserName, "ABCDEFGH");
    EXPECT_STREQ(settings.PlayerName, "ANNA");
    EXPECT_FALSE(settings.resultPending);  // not kept between runs
    EXPECT_EQ(settings.highScores->GetEntry(0).score, 880);
    EXPECT_STREQ(settings.highScores->GetEntry(0).name, "ABCDEFGH");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsTest, AValueMissingMidwayResetsWhatCameBeforeIt) {
    StoreAll(StoredKey(), "NegPoints");
    Restart();
    Settings settings(*sound_);
    EXPECT_EQ(settings.SoundVol, 64);
    EXPECT_EQ(settings.MusicVol, 64);
    EXPECT_EQ(sound_->GetEffectVolume(), 64);
    EXPECT_EQ(settings.KilledDucks, 0);
    EXPECT_EQ(settings.KilledLeafs, 0);
    EXPECT_EQ(settings.NegPoints, 0);
    EXPECT_EQ(settings.PersentageSuccess, 77);
    EXPECT_EQ(settings.LastScores, 940);
    EXPECT_FALSE(settings.MenuAnimation);
    EXPECT_FALSE(settings.SpecialEffects);
    EXPECT_STREQ(settings.UserName, "ROBIN");
    EXPECT_STREQ(settings.PlayerName, "WREN");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SettingsTest, OddStoredValuesAreReadStrictly) {
    const plat::KeyHandle key = StoredKey();
    StoreAll(key);
    ASSERT_TRUE(plat::WriteNumber(key, "MenuAnimation", 2));  // only 1 is on
    ASSERT_TRUE(plat::WriteNumber(key, "SpecialEffects", 1));
    ASSERT_TRUE(plat::WriteNumber(key, "SoundVol", 500));
    ASSERT_TRUE(plat::WriteNumber(key, "MusicVol", -3));
    ASSERT_TRUE(plat::WriteString(key, "UserName", "ABCDEFGHIJKL"));
    ASSERT_TRUE(plat::WriteNumber(key, "PlayerName", 5));  // not a string: unreadable
    Restart();
    Settings settings(*sound_);
    EXPECT_FALSE(settings.MenuAnimation);
    EXPECT_TRUE(settings.SpecialEffects);
    EXPECT_EQ(settings.SoundVol, 70);
    EXPECT_EQ(sound_->GetEffectVolume(), 70);
    EXPECT_EQ(settings.MusicVol, 0);
    EXPECT_STREQ(settings.UserName, "ABCDEFGH");
    EXPECT_STREQ(settings.PlayerName, "NONAME");
    EXPECT_EQ(settings.KilledDucks, 11);  // nothing was missing, so nothing was reset
}

TEST_F(SettingsTest, PercentageIsClampedAndAnUnreadableNumberCountsAsMissing) {
    const plat::KeyHandle key = StoredKey();
    StoreAll(key);
    ASSERT_TRUE(plat::WriteNumber(key, "PersentageSuccess", 250));
    Restart();
    {
        Settings settings(*sound_);
        EXPECT_EQ(settings.PersentageSuccess, 100);
        EXPECT_EQ(settings.KilledDucks, 11);
    }
    ASSERT_TRUE(plat::WriteNumber(StoredKey(), "PersentageSuccess", -4));
    Restart();
    {
        Settings settings(*sound_);
        EXPECT_EQ(settings.PersentageSuccess, 0);
    }
    // 2^32 + 940 would have been cut to 940; it now reads as missing, which
    // resets what came before it.
    ASSERT_TRUE(plat::testing::ExecuteInStore(
        "UPDATE reg_values SET number = 4294968236 WHERE name = 'LastScores'"));
    Restart();
    Settings settings(*sound_);
    EXPECT_EQ(settings.LastScores, 0);
    EXPECT_EQ(settings.KilledDucks, 0);
    EXPECT_EQ(settings.SoundVol, 64);
    EXPECT_FALSE(settings.MenuAnimation);
}

TEST_F(SettingsTest, TheEndOfAHuntReachesTheStoreWhenTheProgramCloses) {
    {
        Settings settings(*sound_);
        settings.KilledDucks = 17;
        settings.LastScores = 1230;
        std::snprintf(settings.UserName, kNameSize, "%s", "ROBIN");
        std::snprintf(settings.PlayerName, kNameSize, "%s", settings.UserName);
        settings.resultScore = 1230;
        settings.resultPending = true;
    }
    Restart();
    EXPECT_EQ(Stored("KilledDucks"), 17);
    EXPECT_EQ(Stored("LastScores"), 1230);
    EXPECT_EQ(StoredText("PlayerName"), "ROBIN");
}

TEST_F(SettingsTest, ResetToDefaultsPutsBackEveryFieldAndBothVolumes) {
    StoreAll(StoredKey());
    Restart();
    Settings settings(*sound_);
    ASSERT_EQ(sound_->GetEffectVolume(), 20);
    settings.resultScore = 300;
    settings.resultPending = true;
    settings.ResetToDefaults();
    ExpectDefaults(settings);
    EXPECT_EQ(settings.resultScore, 0);
    EXPECT_FALSE(settings.resultPending);
    EXPECT_EQ(sound_->GetEffectVolume(), 64);
}

TEST_F(SettingsTest, EveryFailedWriteIsReported) {
    Settings settings(*sound_);
    plat::testing::CloseStore();  // the open key is gone with it
    plat::testing::Reset();
    settings.Save();
    ASSERT_EQ(plat::testing::MessageBoxes().size(), 11u);
    for (const auto& box : plat::testing::MessageBoxes()) {
        EXPECT_EQ(box.text, "Can not add information into registry!");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.flags, plat::kMbOk);
    }
}

}  // namespace
