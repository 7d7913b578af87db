// The player's name typed on an on-screen keyboard of digits, capitals, a
// space and a backspace; at most 8 characters.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"
#include "graphics/strip_font.h"
#include "persist/settings.h"
#include "widgets/button.h"
#include "widgets/text_field.h"

class NameEntryView : public View {
public:
    enum ControlId : uint16_t {
        kOk = 0,
        kCancel = 1,
        kFirstKey = 2,  // digits 0..9, then A..Z, then the space
        kSpaceKey = 38,
        kBackspace = 39,
        kButtonCount = 40,
    };
    static constexpr uint8_t kMaxName = kNameSize - 1;

    void Enter() override;
    void Leave() override;
    // Always kConsumed.
    int HandleEvent(InputEvent& event) override;

    const char* Name() const { return nameBuffer_; }
    const TextField& Field() const { return field_; }

private:
    void Press(uint16_t id);
    void Type(char character);
    void Erase();
    // Renders the buffer, repainting where the old text and the new one lie.
    void ShowName(bool recentre);

    gfx::PictureHolder backgroundPicture_;
    gfx::Sprite background_;
    StripFont font_;
    TextField field_;
    char nameBuffer_[kNameSize] = {};
    uint8_t nameLength_ = 0;
    Button buttons_[kButtonCount];
};
