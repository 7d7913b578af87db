// The ten best hunts and, on a second page, the statistics of the last
// finished hunt. Entering it puts a waiting score into the table.
#pragma once

#include <cstdint>

#include "app/view.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"
#include "graphics/strip_font.h"
#include "widgets/button.h"
#include "widgets/text_field.h"

class Settings;

class ResultsView : public View {
public:
    enum ControlId : uint16_t {
        kLeave = 0,
        kClear = 1,
        kShowStatistics = 2,
        kShowTable = 3,
    };
    static constexpr int32_t kRowsPerPage = 5;

    // A finished hunt's score goes into the table under the current player's
    // name, once; without a name it keeps waiting. The program's shut-down
    // uses it too, so that closing the window never loses a score.
    static void EnterPendingResult(Settings& settings);

    void Enter() override;
    void Leave() override;
    // kConsumed when a button acted, otherwise kNotConsumed.
    int HandleEvent(InputEvent& event) override;

    int32_t FirstRow() const { return firstRow_; }
    bool ShowingStatistics() const { return showStatistics_; }

private:
    int Press(uint16_t id);
    void Redraw();
    void DrawTable();
    void DrawStatistics();
    // Puts `wanted` in the place of `other` among the controls, unless it is there already.
    void ShowPageButton(Button& wanted, Button& other);
    // Stamps the text onto the display so that it ends at y.
    void Label(const char* text, int32_t x, int32_t endY);
    void Number(int32_t value, const char* suffix, int32_t x, int32_t endY);

    gfx::PictureHolder backgroundPicture_;
    gfx::Sprite background_;
    gfx::Picture marker_;
    StripFont font_;
    TextField field_;
    Button leave_;
    Button clear_;
    Button statistics_;
    Button table_;
    int32_t firstRow_ = 0;
    bool showStatistics_ = false;
};
