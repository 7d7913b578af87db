// Clipped drawing onto the display in screen coordinates, and the dirty
// rectangles that the next present copies to the window.
#pragma once

#include <cstdint>

#include "graphics/display.h"
#include "graphics/geometry.h"
#include "graphics/picture.h"
#include "graphics/sprite.h"

namespace gfx {

class DisplayList {
public:
    static constexpr uint32_t kMaxDirty = 20;

    // Creates the display and makes its surface the render target.
    DisplayList();
    ~DisplayList();
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    void AddDirtyRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    // Presents the dirty rectangles and empties the list.
    void FlushDirty();
    void DiscardDirty() { dirtyCount_ = 0; }
    void PresentWhole();
    void PresentShaken(int32_t dx, int32_t dy);

    // Screen coordinates; clipped to the screen, adding the drawn rectangle.
    void DrawClipped(const Picture* picture, int32_t x, int32_t y, bool keyed, Colour key, bool blend);
    // Copies the screen area at (x, y) into the buffer; no dirty rectangle.
    void SaveBackground(Picture& background, int32_t x, int32_t y);
    // World coordinates: the view offset is subtracted.
    void DrawSprite(const Sprite& sprite);
    // Only the image: no background saved, no dirty rectangle.
    void DrawSpriteImage(const Sprite& sprite);
    // The same at a screen position; true when it saved what it covers.
    bool DrawSpriteAt(const Sprite& sprite, int32_t sx, int32_t sy);
    // Only the saved background at a screen position: no dirty rectangle.
    void EraseSpriteImage(const Sprite& sprite, Point screen);
    void RestoreSprite(const Sprite& sprite);
    void RestoreSpriteAt(const Sprite& sprite, Point screen);

    void GrayDisplay();

    void SetView(int32_t x, int32_t y) {
        viewX_ = x;
        viewY_ = y;
    }
    int32_t ViewX() const { return viewX_; }
    int32_t ViewY() const { return viewY_; }

    Display& GetDisplay() { return display_; }
    const Rect* DirtyRects() const { return dirtyRects_; }
    uint32_t DirtyCount() const { return dirtyCount_; }

private:
    Display display_;
    Rect dirtyRects_[kMaxDirty];
    uint32_t dirtyCount_ = 0;
    int32_t viewX_ = 0;
    int32_t viewY_ = 0;
};

}  // namespace gfx
