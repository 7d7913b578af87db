// The name entry: keys and typed characters, the 8-character limit, the blank
// left by erasing, and OK and Cancel going back where they came from.
#include "screens/name_entry_view.h"

#include <cstring>

#include "tests/screens/screen_fixture.h"

namespace {

class NameEntryTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Install(entry, kViewNameEntry);
        Stand(kViewMainMenu);
        std::strcpy(Prefs().UserName, "OLD");
        Views().Start(kViewMainMenu);
        spritesBefore = Scene().Sprites().Count();
        Open(kViewNameEntry);
    }
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) EXPECT_EQ(Char(nullptr, static_cast<uint8_t>(*c)), kConsumed);
    }
    int32_t FieldMiddle() const { return entry.Field().sprite.y + static_cast<int32_t>(entry.Field().sprite.height) / 2; }

    NameEntryView entry;
    uint32_t spritesBefore = 0;  // what the screens before left
};

TEST_F(NameEntryTest, KeysEnterTheirCharactersCentredWithAClickAndANinthChangesNothing) {
    for (const auto& [x, y] : {std::pair{69, 297}, {176, 263}, {210, 263}, {137, 41}, {20, 20}}) {  // A 2 space Z, beside
        EXPECT_EQ(Tap(nullptr, static_cast<int16_t>(x), static_cast<int16_t>(y)), kConsumed);
    }
    EXPECT_STREQ(entry.Name(), "A2aZ");
    EXPECT_EQ(Sounds(), (Strings{"540", "540", "540", "540"}));
    EXPECT_EQ(entry.Field().sprite.x, 18);
    EXPECT_NEAR(FieldMiddle(), 160, 1);
    Type("bcdefgh");
    const uint32_t height = entry.Field().sprite.height;
    Type("i9");
    EXPECT_STREQ(entry.Name(), "A2aZBCDE");  // typed letters are the keys' capitals
    EXPECT_EQ(entry.Field().sprite.height, height);
    Char(nullptr, kCharEnter);
    EXPECT_STREQ(Prefs().UserName, "A2aZBCDE");
}

TEST_F(NameEntryTest, OkOnAnEmptyFieldKeepsTheOldNameButABlankLeftByErasingIsStored) {
    const uint8_t depth = Views().Depth();
    Tap(nullptr, 215, 50);  // OK
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_STREQ(Prefs().UserName, "OLD");
    EXPECT_EQ(Views().Depth(), depth - 1);  // back, not forward
    EXPECT_EQ(Scene().Sprites().Count(), spritesBefore);

    Open(kViewNameEntry);
    Type("Q");
    const int32_t y = entry.Field().sprite.y;
    Char(nullptr, kCharBackspace);
    EXPECT_STREQ(entry.Name(), "a");
    EXPECT_EQ(entry.Field().sprite.y, y);  // not centred again
    Char(nullptr, kCharBackspace);         // nothing left to erase
    EXPECT_STREQ(entry.Name(), "a");
    Tap(nullptr, 215, 50);
    EXPECT_STREQ(Prefs().UserName, "a");
}

TEST_F(NameEntryTest, BackspaceShortensAndTheOldTextIsWipedFromTheScreen) {
    Type("WWWW");
    const int32_t oldTop = entry.Field().sprite.y;
    Tap(nullptr, 210, 229);  // backspace key
    Tap(nullptr, 210, 229);
    EXPECT_STREQ(entry.Name(), "WW");
    EXPECT_NEAR(FieldMiddle(), 160, 1);
    ASSERT_GT(entry.Field().sprite.y, oldTop + 2);
    gfx::Picture background;
    gfx::LoadPicture(background, 502, 240, 320);
    for (int32_t x = 18; x < 36; ++x) EXPECT_EQ(Pixel(x, oldTop + 1), background.surface->At(x, oldTop + 1));
}

TEST_F(NameEntryTest, CancelAndEscapeLeaveTheNameAloneAndTheStackWhereItWas) {
    const uint8_t depth = Views().Depth() - 1;
    for (int visit = 0; visit < 10; ++visit) {
        if (visit > 0) Open(kViewNameEntry);
        EXPECT_STREQ(entry.Name(), "");  // every visit starts empty
        Type("NEW");
        if (visit == 0) {
            Tap(nullptr, 215, 130);  // Cancel
        } else {
            Char(nullptr, kCharEscape);
        }
        EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    }
    EXPECT_EQ(Views().Depth(), depth);
    EXPECT_STREQ(Prefs().UserName, "OLD");
}

}  // namespace
