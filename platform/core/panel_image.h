// The panel as the player sees it: the 240 x 320 portrait panel turned a
// quarter turn clockwise into a 320 x 240 landscape view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/panel_changes.h"

namespace plat {

constexpr int32_t kViewWidth = 320;
constexpr int32_t kViewHeight = 240;

struct Point {
    int32_t x, y;
};

struct ViewRect {
    int32_t x, y, width, height;
};

Point ViewToPanel(Point view);
Point PanelToView(Point panel);

// A panel point as pen messages carry it: x in the low 16 bits, y in the
// high 16 bits, each signed.
uint32_t PenParam(Point panel);
Point PenPoint(uint32_t lParam);

// 5-6-5 panel pixels (top row first) to the view, still 5-6-5.
void RotatePanelToView(const uint16_t* panel, uint16_t* view);

// Where a part of the panel shows in the view.
ViewRect PanelRectToView(const PanelRect& panel);

// The view's pixels of one part of the panel, each through `convert`, into
// `view`, a buffer of the whole view with `viewPitch` pixels a row.
template <typename Pixel, typename Convert>
void RotatePanelRectToView(const uint16_t* panel, const PanelRect& part, Pixel* view, int32_t viewPitch,
                           Convert convert) {
    const ViewRect v = PanelRectToView(part);
    for (int32_t y = v.y; y < v.y + v.height; ++y) {
        Pixel* row = view + y * viewPitch;
        // View column x shows panel row 319 - x at panel column y; a panel
        // row is as long as the view is tall.
        const uint16_t* from = panel + (kViewWidth - 1 - v.x) * kViewHeight + y;
        for (int32_t x = v.x; x < v.x + v.width; ++x, from -= kViewHeight) row[x] = convert(*from);
    }
}

// Writes the view of `panel` as an RGB PNG. False when the file cannot be written.
bool WriteViewPng(const std::string& path, const uint16_t* panel);

}  // namespace plat
