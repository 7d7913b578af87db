// The parts of the panel presented since the host last took them, so that
// a refresh looks at, converts and uploads only those.
#pragma once

#include <cstdint>

namespace plat {

// Panel pixels; right and bottom exclusive.
struct PanelRect {
    int32_t left, top, right, bottom;
};

class PanelChanges {
public:
    static constexpr uint32_t kMaxRects = 16;

    // Overlapping or touching parts merge; with the list full, the new part
    // joins the one it grows least.
    void Add(const PanelRect& rect);
    // Hands the parts over (none when nothing changed) and starts afresh.
    uint32_t Take(PanelRect (&out)[kMaxRects]);
    void Clear() { count_ = 0; }

private:
    PanelRect rects_[kMaxRects] = {};
    uint32_t count_ = 0;
};

}  // namespace plat
