// The name entry: keys and typed characters, the 8-character limit, the blank
// left by erasing, and OK and Cancel going back where they came from.
#include "screens/name_entry_view.h"

#include <cstring>
#include <string>

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
        Open();
    }

    void Open() {
        Views().SwitchTo(kViewNameEntry, true);
        Dispatch(Event(kEventIdle));
        ASSERT_EQ(Views().Current(), kViewNameEntry);
        ForgetSounds();
    }
    int Dispatch(InputEvent event) { return Views().HandleEvent(event); }
    void Tap(int16_t x, int16_t y) {
        EXPECT_EQ(Dispatch(Event(kEventPenDown, x, y)), kConsumed);
        EXPECT_EQ(Dispatch(Event(kEventPenUp, x, y)), kConsumed);
    }
    void Type(const char* text) {
        for (const char* c = text; *c != '\0'; ++c) Character(static_cast<uint8_t>(*c));
    }
    void Character(uint32_t code) {
        InputEvent event = Event(kEventCharacter);
        event.payload[0] = code;
        EXPECT_EQ(Dispatch(event), kConsumed);
    }
    uint8_t ViewAfterwards() {
        Dispatch(Event(kEventIdle));
        return Views().Current();
    }
    int32_t FieldMiddle() const {
        return entry.Field().sprite.y + static_cast<int32_t>(entry.Field().sprite.height) / 2;
    }

    NameEntryView entry;
    uint32_t spritesBefore = 0;  // what the screens before left
};

TEST_F(NameEntryTest, KeysEnterTheirCharactersCentredWithAClick) {
    Tap(69, 297);   // A
    Tap(176, 263);  // 2
    Tap(210, 263);  // space
    Tap(137, 41);   // Z
    EXPECT_STREQ(entry.Name(), "A2aZ");
    EXPECT_EQ(Sounds(), (std::vector<std::string>{"540", "540", "540", "540"}));
    EXPECT_EQ(entry.Field().sprite.x, 18);
    EXPECT_NEAR(FieldMiddle(), 160, 1);
    // A tap beside the keys does nothing.
    Tap(20, 20);
    EXPECT_STREQ(entry.Name(), "A2aZ");
    EXPECT_TRUE(Sounds().empty());
}

TEST_F(NameEntryTest, ANinthCharacterChangesNothing) {
    Type("abcdefgh");
    const uint32_t height = entry.Field().sprite.height;
    Type("i9");
    EXPECT_STREQ(entry.Name(), "ABCDEFGH");  // typed letters are the keys' capitals
    EXPECT_EQ(entry.Field().sprite.height, height);
    Character(kCharEnter);
    EXPECT_STREQ(Prefs().UserName, "ABCDEFGH");
}

TEST_F(NameEntryTest, OkOnAnEmptyFieldKeepsTheOldNameButABlankLeftByErasingIsStored) {
    const uint8_t depth = Views().Depth();
    Tap(215, 50);  // OK
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_STREQ(Prefs().UserName, "OLD");
    // Back, not forward: the stack is as it was before the visit.
    EXPECT_EQ(Views().Depth(), depth - 1);
    EXPECT_EQ(Scene().Sprites().Count(), spritesBefore);

    Open();
    Type("Q");
    const int32_t y = entry.Field().sprite.y;
    Character(kCharBackspace);
    EXPECT_STREQ(entry.Name(), "a");
    EXPECT_EQ(entry.Field().sprite.y, y);  // not centred again
    Character(kCharBackspace);  // nothing left to erase
    EXPECT_STREQ(entry.Name(), "a");
    Tap(215, 50);
    EXPECT_STREQ(Prefs().UserName, "a");
}

TEST_F(NameEntryTest, BackspaceShortensAndTheOldTextIsWipedFromTheScreen) {
    Type("WWWW");
    const gfx::Sprite& field = entry.Field().sprite;
    const int32_t oldTop = field.y;
    Tap(210, 229);  // backspace key
    Tap(210, 229);
    EXPECT_STREQ(entry.Name(), "WW");
    EXPECT_NEAR(FieldMiddle(), 160, 1);
    ASSERT_GT(field.y, oldTop + 2);
    gfx::Picture background;
    gfx::LoadPicture(background, 502, 240, 320);
    for (int32_t x = 18; x < 36; ++x) EXPECT_EQ(Pixel(x, oldTop + 1), background.surface->At(x, oldTop + 1));
    gfx::FreePicture(background);
}

TEST_F(NameEntryTest, CancelAndEscapeLeaveTheNameAlone) {
    Type("NEW");
    Tap(215, 130);  // Cancel
    EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    EXPECT_STREQ(Prefs().UserName, "OLD");
    // Nine more visits leave the stack where it was.
    const uint8_t depth = Views().Depth();
    for (int i = 0; i < 9; ++i) {
        Open();
        EXPECT_STREQ(entry.Name(), "");  // every visit starts empty
        Type("X");
        Character(kCharEscape);
        EXPECT_EQ(ViewAfterwards(), kViewMainMenu);
    }
    EXPECT_EQ(Views().Depth(), depth);
    EXPECT_STREQ(Prefs().UserName, "OLD");
}

}  // namespace
