#include "screens/results_view.h"

#include <cstdio>
#include <cstring>

#include "app/game_app.h"
#include "app/view_list.h"
#include "graphics/scene.h"
#include "persist/settings.h"
#include "sound/sound_manager.h"
#include "widgets/confirm_popup.h"

namespace {

constexpr uint16_t kBackground = 398;
constexpr uint16_t kMarkerPicture = 506;
constexpr int32_t kMarkerSize = 20;
constexpr uint16_t kFontPicture = 503;
constexpr uint8_t kFontHeight = 18;
constexpr int32_t kFontLength = 554;
constexpr uint16_t kFontBase = 48;
constexpr uint8_t kLabelLength = 15;
constexpr uint16_t kClick = 540;
constexpr uint8_t kButtonLayer = 200;

// Table page.
constexpr int32_t kHeaderX = 58;
constexpr int32_t kFirstRowX = 81;
constexpr int32_t kRowPitch = 18;
constexpr int32_t kNameEnd = 270;
constexpr int32_t kScoreEnd = 130;
constexpr int32_t kPlaceEnd = 300;
constexpr int32_t kTenthPlaceEnd = 308;
constexpr int32_t kFirstMarkerX = 80;
constexpr int32_t kMarkerY = 280;

// Statistics page.
constexpr int32_t kFirstStatisticX = 63;
constexpr int32_t kStatisticPitch = 20;
constexpr int32_t kStatisticLabelEnd = 300;
constexpr int32_t kStatisticValueEnd = 130;

Settings& Prefs() { return *theApp.GetSettings(); }

// The font has no glyph for nothing: an empty name shows as a blank.
const char* Shown(const char* name) { return name[0] != '\0' ? name : " "; }

}  // namespace

void ResultsView::EnterPendingResult(Settings& settings) {
    if (settings.UserName[0] == '\0' || !settings.resultPending) return;
    HighScoreEntry entry{};
    entry.isNew = true;
    entry.score = settings.resultScore;
    std::memcpy(entry.name, settings.UserName, kNameSize);
    // A score that went in is stored at once, not only when the screen is left.
    if (settings.highScores->Insert(entry)) settings.highScores->Save();
    // In or not, it is not offered again.
    settings.resultPending = false;
}

void ResultsView::Enter() {
    gfx::Scene& scene = *GetScene();
    scene.SetScroll(0, 0);
    firstRow_ = 0;
    EnterPendingResult(Prefs());

    gfx::LoadHeldPicture(backgroundPicture_, kBackground, gfx::kScreenWidth, gfx::kScreenHeight);
    gfx::CreateSprite(background_, &backgroundPicture_, 0, 0, false, false, false, gfx::kKeyFromImage);
    gfx::LoadSharedPicture(marker_, kMarkerPicture, kMarkerSize, kMarkerSize);
    font_.load(kFontPicture, kFontHeight, kFontLength, kFontBase);
    field_.InitTextField(0, 0, &font_, kLabelLength, true, false);

    leave_.InitButton(kLeave, 200, 13, 26, 44, 392, 393);
    clear_.InitButton(kClear, 200, 70, 26, 90, 394, 395);
    statistics_.InitButton(kShowStatistics, 200, 174, 26, 88, 396, 397);
    table_.InitButton(kShowTable, 200, 174, 26, 88, 504, 505);
    for (Button* button : {&leave_, &clear_, &table_}) {
        AddControl(button);
        ShowControl(*button, kButtonLayer);
    }
    showStatistics_ = false;
    Redraw();
}

void ResultsView::Leave() {
    for (int i = ControlCount() - 1; i >= 0; --i) RemoveControl(i);
    gfx::FreeSpriteBackground(background_);
    gfx::FreeHeldPicture(backgroundPicture_);
    gfx::FreePicture(marker_);
    field_.ReleaseTextField();
    font_.release();
    for (Button* button : {&leave_, &clear_, &statistics_, &table_}) button->ReleaseFrames();
}

int ResultsView::HandleEvent(InputEvent& event) {
    if (event.type == kEventIdle) return kNotConsumed;
    if (event.type == kEventCharacter && event.payload[0] == kCharEscape) return Press(kLeave);
    if (RouteToControls(event) != 0 && event.type == kEventControlClicked) {
        theApp.Sound()->PlaySound(kClick, false, false);
        return Press(static_cast<uint16_t>(event.payload[kSlotControlId]));
    }
    // A tap beside the buttons turns the table's page once there is a second one.
    if (event.type == kEventPenDown && !showStatistics_ && Prefs().highScores->CountUsed() >= 4) {
        firstRow_ = firstRow_ == 0 ? kRowsPerPage : 0;
        Redraw();
    }
    return kNotConsumed;
}

int ResultsView::Press(uint16_t id) {
    switch (id) {
        case kLeave:
            // After a hunt the new score is made durable at once.
            if (theApp.Views()->Previous() == kViewHunt) Prefs().highScores->Save();
            theApp.Views()->Back();
            return kConsumed;
        case kClear: {
            ConfirmPopup popup(*GetScene(), theApp.Input(), theApp.Sound());
            // Cleared in memory only: the store follows at the next save.
            if (popup.Run() == 1) Prefs().highScores->Clear();
            break;
        }
        case kShowStatistics:
            showStatistics_ = true;
            break;
        case kShowTable:
            showStatistics_ = false;
            break;
        default:
            return kNotConsumed;
    }
    Redraw();
    return kConsumed;
}

void ResultsView::ShowPageButton(Button& wanted, Button& other) {
    for (int i = 0; i < ControlCount(); ++i) {
        if (ControlAt(i) != &other) continue;
        RemoveControl(i);
        AddControl(&wanted);
        ShowControl(wanted, kButtonLayer);
        return;
    }
}

void ResultsView::Redraw() {
    gfx::Scene& scene = *GetScene();
    scene.DrawOneSprite(background_);
    if (showStatistics_) {
        clear_.SetState(Button::kDisabled);
        ShowPageButton(table_, statistics_);
    } else {
        clear_.SetState(Button::kNormal);
        ShowPageButton(statistics_, table_);
    }
    for (int i = 0; i < ControlCount(); ++i) scene.MarkSpriteDirty(ControlAt(i)->sprite);
    scene.RedrawDirty();
    if (showStatistics_) {
        DrawStatistics();
    } else {
        DrawTable();
    }
    scene.RedrawDirty();
}

void ResultsView::DrawStatistics() {
    const Settings& prefs = Prefs();
    struct Row {
        const char* label;
        int32_t value;
        const char* suffix;
    };
    // The font draws the accuracy's " ," as a percent sign.
    const Row rows[] = {
        {"SCORE:", prefs.LastScores, ""},     {"SHOT DUCKS:", prefs.KilledDucks, ""},
        {"SHOT LEAVES:", prefs.KilledLeafs, ""}, {"PENALTIES:", prefs.NegPoints, ""},
        {"ACCURACY:", prefs.PersentageSuccess, " ,"},
    };
    int32_t x = kFirstStatisticX;
    Label("NAME:", x, kStatisticLabelEnd);
    Label(Shown(prefs.PlayerName), x, kStatisticValueEnd);
    for (const Row& row : rows) {
        x += kStatisticPitch;
        Label(row.label, x, kStatisticLabelEnd);
        Number(row.value, row.suffix, x, kStatisticValueEnd);
    }
}

void ResultsView::DrawTable() {
    HighScoreTable& table = *Prefs().highScores;
    table.Sort();
    const int32_t used = table.CountUsed();
    Label("NAME", kHeaderX, kNameEnd);
    Label("SCORE", kHeaderX, kScoreEnd);
    for (int32_t i = firstRow_; i < used && i < firstRow_ + kRowsPerPage; ++i) {
        const HighScoreEntry entry = table.GetEntry(i);
        const int32_t x = kFirstRowX + kRowPitch * (i - firstRow_);
        Label(Shown(entry.name), x, kNameEnd);
        Number(entry.score, "", x, kScoreEnd);
        if (entry.isNew) {
            const int32_t markerX = kFirstMarkerX + kRowPitch * (i - firstRow_);
            gfx::DrawPicture(marker_, markerX, kMarkerY);
            GetScene()->GetDisplayList().AddDirtyRect(markerX, kMarkerY, markerX + kMarkerSize, kMarkerY + kMarkerSize);
        } else {
            Number(i + 1, "", x, i + 1 == 10 ? kTenthPlaceEnd : kPlaceEnd);
        }
    }
}

void ResultsView::Label(const char* text, int32_t x, int32_t endY) {
    field_.SetText(text);
    field_.sprite.x = x;
    field_.sprite.y = endY - static_cast<int32_t>(field_.sprite.height);
    GetScene()->DrawOneSprite(field_.sprite);
}

void ResultsView::Number(int32_t value, const char* suffix, int32_t x, int32_t endY) {
    char text[24];
    std::snprintf(text, sizeof text, "%d%s", static_cast<int>(value), suffix);
    Label(text, x, endY);
}
