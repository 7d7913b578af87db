// The program's sprites by layer, and the dirty-rectangle frame: draw from
// the lowest layer up, present, erase moving sprites from the top down.
#pragma once

#include <cstdint>

#include "graphics/display_list.h"
#include "graphics/sprite.h"
#include "graphics/sprite_list.h"

namespace gfx {

class LayerManager {
public:
    LayerManager() = default;
    virtual ~LayerManager() = default;
    LayerManager(const LayerManager&) = delete;
    LayerManager& operator=(const LayerManager&) = delete;

    virtual int32_t GetScrollX() const = 0;
    virtual int32_t GetScrollY() const = 0;

    // The application's list of animated sprites, which AddSpriteAnimated
    // also inserts into; null until the application sets it.
    void SetAnimationList(SpriteList* list) { animated_ = list; }

    void AddSprite(Sprite& sprite, uint8_t layer);
    void AddSpriteAnimated(Sprite& sprite, uint8_t layer);
    void RemoveSprite(const Sprite& sprite);
    // Out of the scene and out of the animation list, so that nothing steps a
    // sprite about to be freed.
    void RemoveSpriteAnimated(const Sprite& sprite);
    // Unlinks every sprite; the sprites themselves are not touched.
    void ClearSprites() { sprites_.Clear(); }
    void MarkSpriteDirty(Sprite& sprite);

    void RedrawDirty();
    void RedrawAll();
    void RedrawShaken(int32_t dx, int32_t dy);
    void DrawOneSprite(const Sprite& sprite) { displayList_.DrawSprite(sprite); }
    void DrawAllSprites();
    void PresentOneSprite(const Sprite& sprite);
    // As DrawOneSprite with x and y as screen coordinates (background tiles).
    void DrawSpriteAtScreen(const Sprite& sprite);

    DisplayList& GetDisplayList() { return displayList_; }
    const SpriteList& Sprites() const { return sprites_; }
    uint8_t MinDirtyLayer() const { return minDirtyLayer_; }

protected:
    DisplayList displayList_;

private:
    // Erases every moving sprite, top layer first, ending the frame.
    void RestoreAllSprites();

    SpriteList sprites_;
    SpriteList* animated_ = nullptr;
    uint8_t minDirtyLayer_ = 1;
};

}  // namespace gfx
