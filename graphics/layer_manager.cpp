#include "graphics/layer_manager.h"

#include <algorithm>

#include "graphics/picture_pool.h"
#include "platform/platform.h"

namespace gfx {
namespace {

// A static sprite that a moving one before it in the list overlaps is drawn
// again over that one.
bool OverlapsMovingBefore(const SpriteList::Node* node) {
    for (const SpriteList::Node* before = node->prev; before != nullptr; before = before->prev) {
        if (before->sprite->savesBackground && SpritesOverlap(*before->sprite, *node->sprite)) return true;
    }
    return false;
}

// A sprite's area in world coordinates, wide enough for any size.
struct WorldBox {
    int64_t left, top, right, bottom;
};

WorldBox BoxOf(const Sprite& s) { return WorldBox{s.x, s.y, s.x + int64_t{s.width}, s.y + int64_t{s.height}}; }

// As SpritesOverlap.
bool Overlap(const WorldBox& a, const WorldBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A static sprite is redrawn when something under it changed.
void MarkIfCovered(Sprite& other, const WorldBox& changed) {
    if (!other.savesBackground && !other.dirty && Overlap(BoxOf(other), changed)) other.dirty = true;
}

Rect RectAt(Point at, uint32_t width, uint32_t height) {
    return Rect{at.x, at.y, static_cast<int32_t>(at.x + static_cast<int64_t>(width)),
                static_cast<int32_t>(at.y + static_cast<int64_t>(height))};
}

// The screen area a partial frame redraws; past its capacity the last
// rectangle grows, which redraws more but never misses an overlap.
class Region {
public:
    // Only the part on the screen counts: nothing is drawn beyond it.
    void Add(const Rect& area) {
        const Rect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, kScreenWidth),
                     std::min(area.bottom, kScreenHeight)};
        if (r.Empty()) return;
        if (count_ < kMax) {
            rects_[count_++] = r;
            return;
        }
        Rect& last = rects_[kMax - 1];
        last = Rect{std::min(last.left, r.left), std::min(last.top, r.top), std::max(last.right, r.right),
                    std::max(last.bottom, r.bottom)};
    }
    bool Overlaps(const Rect& r) const {
        for (uint32_t i = 0; i < count_; ++i) {
            const Rect& o = rects_[i];
            if (r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom) return true;
        }
        return false;
    }

private:
    static constexpr uint32_t kMax = 32;
    Rect rects_[kMax];
    uint32_t count_ = 0;
};

bool OnScreen(const Rect& r) {
    return r.left < kScreenWidth && r.right > 0 && r.top < kScreenHeight && r.bottom > 0;
}

uint32_t VersionOf(const Picture* picture) {
    return picture != nullptr && picture->surface != nullptr ? picture->surface->version : 0;
}

uint32_t LookOf(const Sprite& sprite) {
    return uint32_t{sprite.key} << 16 | uint32_t{sprite.keyed} << 1 | uint32_t{sprite.blend};
}

bool SameRect(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

}  // namespace

LayerManager::LayerManager() {
    PreparePicturePool();
    displayList_.GetDisplay().GetDisplaySurface().guard = this;
    if (plat::StartOption("check-frames")) check_.Start(displayList_.GetDisplay());
}

// Only the standing sprites are touched: the list may still link sprites
// already gone, and each standing one takes itself off before it goes.
LayerManager::~LayerManager() {
    for (uint32_t i = 0; i < standingCount_; ++i) standing_[i]->standsOn = nullptr;
}

void LayerManager::ClearSprites() {
    TakeOffStanding();
    // What they would mark leaves with them; re-added, each is drawn again.
    markedCount_ = 0;
    for (const SpriteList::Entry& entry : sprites_.Ordered()) entry.sprite->scene = nullptr;
    sprites_.Clear();
}

void LayerManager::DrawOneSprite(const Sprite& sprite) {
    TakeOffStanding();
    displayList_.DrawSprite(sprite);
}

void LayerManager::AddSprite(Sprite& sprite, uint8_t layer) {
    MarkWhatMarkedCover();
    sprite.layer = layer;
    if (sprites_.Insert(&sprite, layer)) sprite.scene = this;
    // What is drawn after it goes over it again.
    MarkSpriteDirty(sprite);
}

void LayerManager::AddSpriteAnimated(Sprite& sprite, uint8_t layer) {
    AddSprite(sprite, layer);
    if (animated_ != nullptr) animated_->Insert(&sprite, 0);
}

void LayerManager::RemoveSprite(const Sprite& sprite) {
    MarkWhatMarkedCover();
    TakeOffStanding();
    // Static sprites after it lose what lay over the gap once its last
    // erasure goes out; they are drawn again.
    MarkCoveredAbove(sprite);
    sprites_.Remove(&sprite);
    if (sprite.scene == this) sprite.scene = nullptr;
}

void LayerManager::RemoveSpriteAnimated(const Sprite& sprite) {
    RemoveSprite(sprite);
    if (animated_ != nullptr) animated_->Remove(&sprite);
}

void LayerManager::MarkSpriteDirty(Sprite& sprite) {
    sprite.dirty = true;
    if (sprite.savesBackground && sprite.scene == this && markedCount_ < kMaxMarked) {
        marked_[markedCount_++] = Marked{&sprite, sprite.x, sprite.y, sprite.width, sprite.height, sprite.layer};
        return;
    }
    MarkCoveredAbove(sprite);
}

void LayerManager::MarkCoveredAbove(const Sprite& sprite) {
    MarkCoveredAbove(Marked{&sprite, sprite.x, sprite.y, sprite.width, sprite.height, sprite.layer});
}

void LayerManager::MarkCoveredAbove(const Marked& marked) {
    const WorldBox box{marked.x, marked.y, marked.x + int64_t{marked.width}, marked.y + int64_t{marked.height}};
    // From the top down to the sprite's own entry: higher layers, then equal
    // layers drawn after it.
    const std::span<const SpriteList::Entry> entries = sprites_.Ordered();
    for (size_t i = entries.size();
         i-- > 0 && entries[i].sprite != marked.sprite && entries[i].layer >= marked.layer;) {
        MarkIfCovered(*entries[i].sprite, box);
    }
}

void LayerManager::MarkWhatMarkedCover() {
    const uint32_t count = markedCount_;
    markedCount_ = 0;
    for (uint32_t i = 0; i < count; ++i) MarkCoveredAbove(marked_[i]);
}

// Moving sprites stay drawn between partial frames; only what changed, and
// what lies over it, is erased and drawn again.
void LayerManager::RedrawDirty() {
    const uint32_t stood = standingCount_;
    standingCount_ = 0;
    check_.Begin();
    if (check_.On() && stood != 0) {
        // The reference starts from the display with every moving sprite erased.
        Surface* const target = GetRenderTarget();
        SetRenderTarget(&check_.Reference());
        for (uint32_t i = stood; i-- > 0;) displayList_.EraseSpriteImage(*standing_[i], standing_[i]->stoodAt);
        SetRenderTarget(target);
    }
    MarkChanged();
    DrawChanged(stood);
    displayList_.FlushDirty();
    if (check_.On()) CheckFrame(false);
}

void LayerManager::MarkChanged() {
    for (uint32_t i = 0; i < markedCount_; ++i) {
        const Marked& m = marked_[i];
        const Sprite& s = *m.sprite;
        // Still moving and where it was marked: the static sprites over it
        // on the screen are marked below.
        if (s.savesBackground && s.x == m.x && s.y == m.y && s.width == m.width && s.height == m.height &&
            s.layer == m.layer) {
            continue;
        }
        MarkCoveredAbove(m);
    }
    const int32_t viewX = displayList_.ViewX();
    const int32_t viewY = displayList_.ViewY();
    // A static sprite over a moving one is drawn again over it, as a full
    // redraw would, so that moving one is drawn again first. One wholly off
    // the screen draws nothing, and the moving ones it would mark come out
    // the same drawn again.
    // Their areas are gathered side by side for the many overlap tests.
    WorldBox moving[SpriteList::kCapacity];
    bool under[SpriteList::kCapacity];
    uint32_t movingCount = 0;
    for (const SpriteList::Entry& entry : sprites_.Ordered()) {
        Sprite& sprite = *entry.sprite;
        if (sprite.savesBackground) {
            under[movingCount] = false;
            moving[movingCount++] = BoxOf(sprite);
            continue;
        }
        if (!OnScreen(RectAt(Point{sprite.x - viewX, sprite.y - viewY}, sprite.width, sprite.height))) continue;
        const WorldBox box = BoxOf(sprite);
        for (uint32_t i = 0; i < movingCount; ++i) {
            if (Overlap(moving[i], box)) {
                under[i] = true;
                sprite.dirty = true;
            }
        }
    }
    // A moving sprite that changed is erased and drawn again, and so is every
    // one after it over what it covered or covers now. One only marked, still
    // as it stands on nothing drawn again, would come out the same: it stays.
    Region region;
    uint32_t movingAt = 0;
    for (const SpriteList::Entry& entry : sprites_.Ordered()) {
        Sprite& sprite = *entry.sprite;
        const Point at{sprite.x - viewX, sprite.y - viewY};
        const Rect now = RectAt(at, sprite.width, sprite.height);
        if (!sprite.savesBackground) {
            if (sprite.dirty) region.Add(now);
            continue;
        }
        const bool stands = sprite.standsOn == this;
        const Rect was = stands ? RectAt(sprite.stoodAt, sprite.background->width, sprite.background->height) : Rect{};
        const bool same = stands && SameRect(now, was) && sprite.image == sprite.stoodImage &&
                          VersionOf(sprite.image) == sprite.stoodVersion && LookOf(sprite) == sprite.stoodLook;
        const bool coveredByStatic = under[movingAt++];
        sprite.dirty = !same || coveredByStatic || region.Overlaps(was);
        if (sprite.dirty) {
            region.Add(was);
            region.Add(now);
        }
    }
}

void LayerManager::DrawChanged(uint32_t stood) {
    // Whatever was marked is drawn now (a partial frame has looked at it).
    markedCount_ = 0;
    // Erased from the top down, each gives back what lay under it.
    for (uint32_t i = stood; i-- > 0;) {
        Sprite& sprite = *standing_[i];
        if (!sprite.dirty) continue;
        displayList_.RestoreSpriteAt(sprite, sprite.stoodAt);
        sprite.standsOn = nullptr;
    }
    const int32_t viewX = displayList_.ViewX();
    const int32_t viewY = displayList_.ViewY();
    // Counted only at the end: while this frame draws, nothing is taken off.
    uint32_t standing = 0;
    // The check still needs the marks; it clears them itself.
    const bool keepMarks = check_.On();
    for (const SpriteList::Entry& entry : sprites_.Ordered()) {
        Sprite& sprite = *entry.sprite;
        if (sprite.dirty && !sprite.savesBackground) {
            displayList_.DrawSprite(sprite);
        } else if (sprite.dirty) {
            const Point at{sprite.x - viewX, sprite.y - viewY};
            if (displayList_.DrawSpriteAt(sprite, at.x, at.y)) {
                sprite.standsOn = this;
                sprite.stoodAt = at;
                sprite.stoodImage = sprite.image;
                sprite.stoodVersion = VersionOf(sprite.image);
                sprite.stoodLook = LookOf(sprite);
            }
        }
        if (sprite.standsOn == this) standing_[standing++] = &sprite;
        sprite.dirty = sprite.dirty && keepMarks;
    }
    standingCount_ = standing;
}

void LayerManager::TakeOffStanding() {
    const uint32_t count = standingCount_;
    standingCount_ = 0;
    for (uint32_t i = count; i-- > 0;) {
        Sprite& sprite = *standing_[i];
        displayList_.RestoreSpriteAt(sprite, sprite.stoodAt);
        sprite.standsOn = nullptr;
    }
}

// Every sprite drawn again; the moving ones are left standing, as a partial
// frame leaves them, so the next one draws only what changed.
void LayerManager::RedrawAll() {
    TakeOffStanding();
    check_.Begin();
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        node->sprite->dirty = true;
    }
    DrawChanged(0);
    displayList_.FlushDirty();
    if (check_.On()) CheckFrame(true);
}

void LayerManager::CheckFrame(bool everyStatic) {
    Surface* const target = GetRenderTarget();
    SetRenderTarget(&check_.Reference());
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        Sprite& sprite = *node->sprite;
        if (sprite.savesBackground || everyStatic || sprite.dirty || OverlapsMovingBefore(node)) {
            displayList_.DrawSpriteImage(sprite);
        }
        sprite.dirty = false;
    }
    SetRenderTarget(target);
    check_.Matches();
}

void LayerManager::RedrawShaken(int32_t dx, int32_t dy) {
    DrawAllSprites();
    displayList_.PresentShaken(dx, dy);
    RestoreAllSprites();
}

void LayerManager::RestoreAllSprites() {
    markedCount_ = 0;
    for (const SpriteList::Node* node = sprites_.Tail(); node != nullptr; node = node->prev) {
        displayList_.RestoreSprite(*node->sprite);
        node->sprite->dirty = false;
    }
}

void LayerManager::DrawAllSprites() {
    TakeOffStanding();
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        displayList_.DrawSprite(*node->sprite);
    }
}

// A whole partial frame: presenting the one sprite alone would send out the
// last frame's erasures of the moving sprites without drawing them again.
void LayerManager::PresentOneSprite(Sprite& sprite) {
    const SpriteList::Node* node = sprites_.Head();
    while (node != nullptr && node->sprite != &sprite) node = node->next;
    MarkSpriteDirty(sprite);
    // One that is not in the scene is drawn over it as it stands.
    if (node == nullptr) DrawOneSprite(sprite);
    RedrawDirty();
}

void LayerManager::DrawSpriteAtScreen(const Sprite& sprite) {
    TakeOffStanding();
    displayList_.DrawSpriteAt(sprite, sprite.x, sprite.y);
}

}  // namespace gfx
