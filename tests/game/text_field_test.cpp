// The text field's rendering: glyph spans copied from the strip, the first
// character at the far end of the picture.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/strip_font.h"
#include "platform/testing.h"
#include "widgets/text_field.h"

namespace {

class TextFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::testing::Reset();
        ASSERT_EQ(font_.load(255, 22, 700, 48), 0);
        field_.InitTextField(30, 40, &font_, 7, true, false);
    }

    uint16_t Width(char c) const {
        const auto code = c == ' ' ? static_cast<uint8_t>(font_.lastGlyph() + 6) : static_cast<uint8_t>(c - 48);
        return font_.glyph(code).width;
    }
    int32_t Width(const char* text) const {
        int32_t total = 0;
        for (const char* c = text; *c != 0; ++c) total += Width(*c);
        return total;
    }

    StripFont font_;
    TextField field_;
};

TEST_F(TextFieldTest, GlyphsRunFromTheEndOfThePicture) {
    const char* text = "10 20";
    field_.SetText(text);
    ASSERT_NE(field_.sprite.image, nullptr);
    EXPECT_EQ(static_cast<int32_t>(field_.sprite.height), Width(text));
    const gfx::Surface& out = *field_.sprite.image->surface;
    const gfx::Surface& strip = *font_.picture().surface;
    int32_t end = Width(text);
    for (const char* c = text; *c != 0; ++c) {
        const auto code = *c == ' ' ? static_cast<uint8_t>(font_.lastGlyph() + 6) : static_cast<uint8_t>(*c - 48);
        const StripFont::Glyph g = font_.glyph(code);
        end -= g.width;
        for (int32_t i = 0; i < g.width; ++i) {
            const int32_t stripRow = 700 - g.start - g.width + i;
            ASSERT_EQ(std::memcmp(out.Row(end + i), strip.Row(stripRow), 22 * sizeof(uint16_t)), 0)
                << "character " << *c << " row " << i;
        }
    }
    EXPECT_EQ(end, 0);
}

TEST_F(TextFieldTest, EmptyTextKeepsTheOldOneAndLongTextIsCut) {
    // A field starts as a space, keyed on the strip's background.
    EXPECT_EQ(static_cast<int32_t>(field_.sprite.height), Width(" "));
    EXPECT_EQ(field_.sprite.key, font_.picture().surface->At(0, 0));
    field_.SetText("12345678");
    EXPECT_EQ(static_cast<int32_t>(field_.sprite.height), Width("1234567"));
    const gfx::Picture* shown = field_.sprite.image;
    field_.SetText("");
    EXPECT_EQ(field_.sprite.image, shown);
    EXPECT_EQ(static_cast<int32_t>(field_.sprite.height), Width("1234567"));
    // Small letters fall on the blank, as the space does.
    field_.SetText("ab");
    EXPECT_EQ(static_cast<int32_t>(field_.sprite.height), 2 * Width(" "));
}

TEST_F(TextFieldTest, AMovedFieldKeepsItsPlaceAndAFittingBufferWhenTheTextChanges) {
    field_.sprite.y = 600;
    field_.SetText("1");
    field_.SetText("25:00");
    EXPECT_EQ(field_.sprite.y, 600);
    ASSERT_NE(field_.sprite.background, nullptr);
    EXPECT_EQ(field_.sprite.background->height, field_.sprite.height);
}

}  // namespace
