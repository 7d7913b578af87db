// The program's sprites by layer, and the dirty-rectangle frame: draw from
// the lowest layer up and present. A partial frame leaves the moving sprites
// standing on the display and draws again only what changed; anything else
// that draws there erases them first, from the top down.
#pragma once

#include <cstdint>

#include "graphics/display_list.h"
#include "graphics/frame_check.h"
#include "graphics/sprite.h"
#include "graphics/sprite_list.h"

namespace gfx {

class LayerManager : public StandingGuard {
public:
    // Checks every frame when the program runs with --check-frames.
    LayerManager();
    virtual ~LayerManager();
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
    void ClearSprites();
    void MarkSpriteDirty(Sprite& sprite);

    void RedrawDirty();
    void RedrawAll();
    void RedrawShaken(int32_t dx, int32_t dy);
    void DrawOneSprite(const Sprite& sprite);
    void DrawAllSprites();
    void PresentOneSprite(Sprite& sprite);
    // As DrawOneSprite with x and y as screen coordinates (background tiles).
    void DrawSpriteAtScreen(const Sprite& sprite);

    // What is drawn there directly comes after the moving sprites are erased.
    DisplayList& GetDisplayList() {
        TakeOffStanding();
        return displayList_;
    }
    // Erases the moving sprites the last partial frame left on the display.
    void TakeOffStanding() override;
    const SpriteList& Sprites() const { return sprites_; }
    FrameCheck& Check() { return check_; }

protected:
    DisplayList displayList_;

private:
    // Erases every moving sprite, top layer first, ending the frame; no
    // static sprite is left dirty.
    void RestoreAllSprites();
    // Marks what a partial frame draws: the sprites that changed, and every
    // one drawn after them over what they covered or cover now.
    void MarkChanged();
    // Erases the marked ones of the `stood` standing sprites, then draws the
    // marked sprites, leaving the moving ones standing; clears the marks
    // unless the frame is checked.
    void DrawChanged(uint32_t stood);
    // A sprite as it was when marked.
    struct Marked {
        const Sprite* sprite;
        int32_t x, y;
        uint32_t width, height;
        uint8_t layer;
    };
    // Marks the static sprites drawn after this one that overlap it (as it
    // lay when marked).
    void MarkCoveredAbove(const Sprite& sprite);
    void MarkCoveredAbove(const Marked& marked);
    // What the marks of moving sprites put off, before the list changes.
    void MarkWhatMarkedCover();
    // The frame just presented against the scene redrawn in full over the
    // display as the frame found it; clears the marks.
    void CheckFrame(bool everyStatic);

    SpriteList sprites_;
    SpriteList* animated_ = nullptr;
    FrameCheck check_;
    // The moving sprites the last partial frame left drawn, in list order.
    Sprite* standing_[SpriteList::kCapacity] = {};
    uint32_t standingCount_ = 0;
    // Moving sprites of the list marked since the last frame, as they were.
    // Most are still there when it starts, and the static sprites over them
    // on the screen are marked then anyway (those off it draw nothing).
    static constexpr uint32_t kMaxMarked = 64;
    Marked marked_[kMaxMarked] = {};
    uint32_t markedCount_ = 0;
};

}  // namespace gfx
