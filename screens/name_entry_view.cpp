#include "screens/name_entry_view.h"

#include <cstring>

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "sound/sound_manager.h"

namespace {

constexpr uint16_t kBackground = 502;
constexpr uint16_t kFontPicture = 503;
constexpr uint8_t kFontHeight = 18;
constexpr int32_t kFontLength = 554;
constexpr uint16_t kFontBase = 48;
constexpr uint16_t kClick = 540;
constexpr uint8_t kBackgroundLayer = 1;
constexpr uint8_t kFieldLayer = 2;
constexpr uint8_t kButtonLayer = 200;
constexpr int32_t kFieldCentreY = 160;
// The font draws this character as a blank; the space key enters it.
constexpr char kBlank = 'a';
constexpr int32_t kKeySize = 20;

struct KeyRow {
    uint16_t firstId;
    uint16_t count;
    int32_t x;
    int32_t firstY;
    uint16_t firstPicture;
};

// Each key k of a row lies 34 pixels before key k - 1 and uses the row's
// pictures first + 2k (normal) and first + 2k + 1 (pressed).
constexpr KeyRow kRows[] = {
    {2, 1, 200, 287, 426},    // 0
    {3, 9, 166, 287, 428},    // 1..9
    {12, 9, 59, 287, 446},    // A..I
    {21, 9, 93, 287, 464},    // J..R
    {30, 8, 127, 269, 482},   // S..Z
    {38, 1, 200, 253, 498},   // space
    {39, 1, 200, 219, 500},   // backspace
};
constexpr int32_t kKeyPitch = 34;

char CharacterOf(uint16_t id) {
    if (id < 12) return static_cast<char>('0' + (id - 2));
    if (id < 38) return static_cast<char>('A' + (id - 12));
    return kBlank;
}

// The key a typed character stands for, or 0 when none does.
uint16_t KeyFor(uint32_t character) {
    if (character >= '0' && character <= '9') return static_cast<uint16_t>(2 + (character - '0'));
    if (character >= 'A' && character <= 'Z') return static_cast<uint16_t>(12 + (character - 'A'));
    if (character >= 'a' && character <= 'z') return static_cast<uint16_t>(12 + (character - 'a'));
    if (character == kCharBackspace) return NameEntryView::kBackspace;
    if (character == kCharEnter) return NameEntryView::kOk;
    if (character == kCharEscape) return NameEntryView::kCancel;
    return 0xFFFF;
}

}  // namespace

void NameEntryView::Enter() {
    gfx::Scene& scene = *GetScene();
    scene.SetScroll(0, 0);
    gfx::LoadHeldPicture(backgroundPicture_, kBackground, gfx::kScreenWidth, gfx::kScreenHeight);
    gfx::CreateSprite(background_, &backgroundPicture_, 0, 0, false, false, false, gfx::kKeyFromImage);
    scene.AddSprite(background_, kBackgroundLayer);
    scene.RedrawDirty();

    nameLength_ = 0;
    std::memset(nameBuffer_, 0, sizeof nameBuffer_);

    font_.load(kFontPicture, kFontHeight, kFontLength, kFontBase);
    field_.InitTextField(18, 70, &font_, kMaxName, true, false);
    scene.AddSprite(field_.sprite, kFieldLayer);
    field_.SetText(nameBuffer_);

    buttons_[kOk].InitButton(kOk, 203, 27, 26, 44, 422, 423);
    buttons_[kCancel].InitButton(kCancel, 203, 86, 26, 98, 424, 425);
    for (const KeyRow& row : kRows) {
        for (uint16_t k = 0; k < row.count; ++k) {
            const auto picture = static_cast<uint16_t>(row.firstPicture + 2 * k);
            buttons_[row.firstId + k].InitButton(static_cast<uint16_t>(row.firstId + k), row.x,
                                                 row.firstY - kKeyPitch * k, kKeySize, kKeySize, picture,
                                                 static_cast<uint16_t>(picture + 1));
        }
    }
    for (Button& button : buttons_) {
        AddControl(&button);
        ShowControl(button, kButtonLayer);
    }
    scene.MarkSpriteDirty(field_.sprite);
    scene.RedrawDirty();
}

void NameEntryView::Leave() {
    gfx::Scene& scene = *GetScene();
    scene.RemoveSprite(background_);
    scene.RemoveSprite(field_.sprite);
    gfx::FreeSpriteBackground(background_);
    gfx::FreeHeldPicture(backgroundPicture_);
    field_.ReleaseTextField();
    font_.release();
    for (int i = ControlCount() - 1; i >= 0; --i) RemoveControl(i);
    for (Button& button : buttons_) button.ReleaseFrames();
}

int NameEntryView::HandleEvent(InputEvent& event) {
    if (event.type == kEventCharacter) {
        const uint16_t id = KeyFor(event.payload[0]);
        if (id < kButtonCount) Press(id);
        return kConsumed;
    }
    if (RouteToControls(event) != 0 && event.type == kEventControlClicked) {
        Press(static_cast<uint16_t>(event.payload[kSlotControlId]));
    }
    return kConsumed;
}

void NameEntryView::Press(uint16_t id) {
    theApp.Sound()->PlaySound(kClick, false, false);
    switch (id) {
        case kOk:
            if (nameBuffer_[0] != '\0') {
                Settings& settings = *theApp.GetSettings();
                std::memcpy(settings.UserName, nameBuffer_, kNameSize);
                // Kept at once: a program that is killed never reaches its shut-down.
                settings.Save();
            }
            theApp.Views()->Back();
            break;
        case kCancel:
            theApp.Views()->Back();
            break;
        case kBackspace:
            Erase();
            break;
        default:
            Type(CharacterOf(id));
            break;
    }
}

void NameEntryView::Type(char character) {
    if (nameLength_ == kMaxName) return;
    nameBuffer_[nameLength_] = character;
    ShowName(true);
    ++nameLength_;
}

void NameEntryView::Erase() {
    if (nameLength_ == 0) return;
    if (nameLength_ == 1) {
        // The field keeps one blank character instead of the last letter.
        nameLength_ = 0;
        nameBuffer_[0] = kBlank;
        ShowName(false);
        return;
    }
    --nameLength_;
    nameBuffer_[nameLength_] = '\0';
    ShowName(true);
}

void NameEntryView::ShowName(bool recentre) {
    gfx::Scene& scene = *GetScene();
    const gfx::Sprite& shown = field_.sprite;
    const gfx::Rect old{shown.x, shown.y, shown.x + static_cast<int32_t>(shown.width),
                        shown.y + static_cast<int32_t>(shown.height)};
    field_.SetText(nameBuffer_);
    if (recentre) field_.sprite.y = kFieldCentreY - static_cast<int32_t>(field_.sprite.height) / 2;
    // Where the old text was shows the background again.
    scene.GetDisplayList().AddDirtyRect(old.left, old.top, old.right, old.bottom);
    scene.MarkSpriteDirty(field_.sprite);
    scene.RedrawDirty();
}
