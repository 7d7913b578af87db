// The panel as the player sees it: the 240 x 320 portrait panel turned a
// quarter turn clockwise into a 320 x 240 landscape view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat {

constexpr int32_t kViewWidth = 320;
constexpr int32_t kViewHeight = 240;

struct Point {
    int32_t x, y;
};

Point ViewToPanel(Point view);
Point PanelToView(Point panel);

// A panel point as pen messages carry it: x in the low 16 bits, y in the
// high 16 bits, each signed.
uint32_t PenParam(Point panel);
Point PenPoint(uint32_t lParam);

// 5-6-5 panel pixels (top row first) to the view, still 5-6-5.
void RotatePanelToView(const uint16_t* panel, uint16_t* view);

// Writes the view of `panel` as an RGB PNG. False when the file cannot be written.
bool WriteViewPng(const std::string& path, const uint16_t* panel);

}  // namespace plat
