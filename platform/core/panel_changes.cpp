#include "platform/core/panel_changes.h"

#include <algorithm>

namespace plat {

namespace {

PanelRect Union(const PanelRect& a, const PanelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Touch(const PanelRect& a, const PanelRect& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

int64_t Area(const PanelRect& r) { return int64_t{r.right - r.left} * (r.bottom - r.top); }

}  // namespace

void PanelChanges::Add(const PanelRect& rect) {
    PanelRect grown = rect;
    // A merged part may now reach others: gather them all into it.
    for (uint32_t i = 0; i < count_;) {
        if (Touch(rects_[i], grown)) {
            grown = Union(rects_[i], grown);
            rects_[i] = rects_[--count_];
            i = 0;
        } else {
            ++i;
        }
    }
    if (count_ < kMaxRects) {
        rects_[count_++] = grown;
        return;
    }
    uint32_t best = 0;
    int64_t bestGrowth = INT64_MAX;
    for (uint32_t i = 0; i < count_; ++i) {
        const int64_t growth = Area(Union(rects_[i], grown)) - Area(rects_[i]);
        if (growth < bestGrowth) {
            bestGrowth = growth;
            best = i;
        }
    }
    rects_[best] = Union(rects_[best], grown);
}

uint32_t PanelChanges::Take(PanelRect (&out)[kMaxRects]) {
    std::copy(rects_, rects_ + count_, out);
    const uint32_t n = count_;
    count_ = 0;
    return n;
}

}  // namespace plat
