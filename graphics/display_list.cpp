#include "graphics/display_list.h"

#include <algorithm>

#include "graphics/effects.h"

namespace gfx {
namespace {

uint64_t Area(const Rect& r) { return static_cast<uint64_t>(r.Width()) * static_cast<uint64_t>(r.Height()); }

Rect Union(const Rect& a, const Rect& b) {
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// The part of a w x h area at (x, y) that lies on the screen.
Rect OnScreen(int32_t x, int32_t y, int32_t w, int32_t h) {
    return Rect{std::max(0, x), std::max(0, y), std::min(kScreenWidth, x + w), std::min(kScreenHeight, y + h)};
}

bool Visible(const Sprite& s, int32_t sx, int32_t sy) {
    const int64_t w = s.width, h = s.height;
    return !(sx + w < 1 || sx >= kScreenWidth || sy + h < 1 || sy >= kScreenHeight);
}

// Draws the part of the picture on the screen; returns that part, empty
// when nothing was drawn.
Rect BlitClipped(const Picture* picture, int32_t x, int32_t y, bool keyed, Colour key, bool blend) {
    if (picture == nullptr) return Rect{};
    const int32_t w = picture->width;
    const int32_t h = picture->height;
    if (y > kScreenHeight || x > kScreenWidth || y + h < 0 || x + w < 0) return Rect{};
    if (x >= 0 && y >= 0 && x + w <= kScreenWidth && y + h <= kScreenHeight) {
        if (keyed && blend) {
            DrawPictureKeyedHalf(*picture, x, y, key);
        } else if (keyed) {
            DrawPictureKeyed(*picture, x, y, key);
        } else if (blend) {
            DrawPictureHalf(*picture, x, y);
        } else {
            DrawPicture(*picture, x, y);
        }
        return Rect{x, y, x + w, y + h};
    }
    const Rect shown = OnScreen(x, y, w, h);
    if (shown.Empty()) return Rect{};
    const Rect from{shown.left - x, shown.top - y, shown.right - x, shown.bottom - y};
    if (keyed && blend) {
        DrawPictureKeyedHalfRegion(*picture, shown.left, shown.top, from, key);
    } else if (keyed) {
        DrawPictureKeyedRegion(*picture, shown.left, shown.top, from, key);
    } else if (blend) {
        DrawPictureHalfRegion(*picture, shown.left, shown.top, from);
    } else {
        DrawPictureRegion(*picture, shown.left, shown.top, from);
    }
    return shown;
}

}  // namespace


DisplayList::DisplayList() { SetRenderTarget(&display_.GetDisplaySurface()); }

DisplayList::~DisplayList() {
    if (GetRenderTarget() == &display_.GetDisplaySurface()) SetRenderTarget(nullptr);
}

void DisplayList::AddDirtyRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    const Rect added{left, top, right, bottom};
    if (added.Empty()) return;  // nothing to present
    for (uint32_t i = 0; i < dirtyCount_; ++i) {
        const Rect u = Union(dirtyRects_[i], added);
        if (3 * (Area(dirtyRects_[i]) + Area(added)) / 2 > Area(u)) {
            dirtyRects_[i] = u;
            return;
        }
    }
    if (dirtyCount_ < kMaxDirty) {
        dirtyRects_[dirtyCount_++] = added;
        return;
    }
    // The list is full and nothing took it: grow the last rectangle over it,
    // which presents a little more than changed but never loses an area.
    dirtyRects_[kMaxDirty - 1] = Union(dirtyRects_[kMaxDirty - 1], added);
}

void DisplayList::FlushDirty() {
    display_.PresentRects(dirtyRects_, static_cast<uint16_t>(dirtyCount_));
    dirtyCount_ = 0;
}

void DisplayList::PresentWhole() { display_.PresentAll(); }

void DisplayList::PresentShaken(int32_t dx, int32_t dy) { display_.PresentOffset(dx, dy); }

void DisplayList::DrawClipped(const Picture* picture, int32_t x, int32_t y, bool keyed, Colour key, bool blend) {
    const Rect drawn = BlitClipped(picture, x, y, keyed, key, blend);
    AddDirtyRect(drawn.left, drawn.top, drawn.right, drawn.bottom);
}

void DisplayList::SaveBackground(Picture& background, int32_t x, int32_t y) {
    const int32_t w = background.width;
    const int32_t h = background.height;
    if (x >= 0 && y >= 0 && x + w <= kScreenWidth && y + h <= kScreenHeight) {
        GrabTarget(background, x, y);
        return;
    }
    const Rect shown = OnScreen(x, y, w, h);
    if (shown.Empty()) return;
    GrabTargetRegion(background, Point{shown.left - x, shown.top - y}, shown);
}

void DisplayList::DrawSprite(const Sprite& sprite) { DrawSpriteAt(sprite, sprite.x - viewX_, sprite.y - viewY_); }

bool DisplayList::DrawSpriteAt(const Sprite& sprite, int32_t sx, int32_t sy) {
    if (!Visible(sprite, sx, sy)) return false;
    const bool saved = sprite.savesBackground && sprite.background != nullptr;
    const Picture* image = sprite.image;
    // The common moving sprite saves what it covers while it draws.
    if (saved && image != nullptr && sprite.keyed && !sprite.blend && image->width == sprite.background->width &&
        image->height == sprite.background->height) {
        const Rect shown = OnScreen(sx, sy, image->width, image->height);
        if (shown.Empty()) return true;
        const Rect from{shown.left - sx, shown.top - sy, shown.right - sx, shown.bottom - sy};
        DrawPictureKeyedKeeping(*image, shown.left, shown.top, from, sprite.key, *sprite.background);
        AddDirtyRect(shown.left, shown.top, shown.right, shown.bottom);
        return true;
    }
    if (saved) SaveBackground(*sprite.background, sx, sy);
    if (sprite.image != nullptr) DrawClipped(sprite.image, sx, sy, sprite.keyed, sprite.key, sprite.blend);
    return saved;
}

void DisplayList::DrawSpriteImage(const Sprite& sprite) {
    const int32_t sx = sprite.x - viewX_;
    const int32_t sy = sprite.y - viewY_;
    if (Visible(sprite, sx, sy)) BlitClipped(sprite.image, sx, sy, sprite.keyed, sprite.key, sprite.blend);
}

void DisplayList::EraseSpriteImage(const Sprite& sprite, Point screen) {
    if (Visible(sprite, screen.x, screen.y) && sprite.savesBackground) {
        BlitClipped(sprite.background, screen.x, screen.y, false, 0, false);
    }
}

void DisplayList::RestoreSprite(const Sprite& sprite) {
    RestoreSpriteAt(sprite, Point{sprite.x - viewX_, sprite.y - viewY_});
}

void DisplayList::RestoreSpriteAt(const Sprite& sprite, Point screen) {
    if (!Visible(sprite, screen.x, screen.y) || !sprite.savesBackground || sprite.background == nullptr) return;
    DrawClipped(sprite.background, screen.x, screen.y, false, 0, false);
}

void DisplayList::GrayDisplay() { gfx::GrayDisplay(display_.GetDisplaySurface()); }

}  // namespace gfx
