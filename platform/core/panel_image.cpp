#include "platform/core/panel_image.h"

#include "platform/core/machine.h"

namespace plat {

Point ViewToPanel(Point view) { return {view.y, kPanelHeight - 1 - view.x}; }

Point PanelToView(Point panel) { return {kPanelHeight - 1 - panel.y, panel.x}; }

uint32_t PenParam(Point panel) {
    return (static_cast<uint32_t>(panel.x) & 0xFFFF) | ((static_cast<uint32_t>(panel.y) & 0xFFFF) << 16);
}

Point PenPoint(uint32_t lParam) {
    return {static_cast<int16_t>(lParam & 0xFFFF), static_cast<int16_t>(lParam >> 16)};
}

void RotatePanelToView(const uint16_t* panel, uint16_t* view) {
    RotatePanelRectToView(panel, PanelRect{0, 0, kPanelWidth, kPanelHeight}, view, kViewWidth,
                          [](uint16_t c) { return c; });
}

ViewRect PanelRectToView(const PanelRect& panel) {
    return {kPanelHeight - panel.bottom, panel.left, panel.bottom - panel.top, panel.right - panel.left};
}

}  // namespace plat
