#include "graphics/layer_manager.h"

#include <algorithm>

#include "graphics/picture_pool.h"
#include "platform/platform.h"

namespace gfx {
namespace {

// A static sprite is redrawn when something under it changed.
void MarkIfCovered(Sprite& other, const Sprite& changed) {
    if (!other.savesBackground && !other.dirty && SpritesOverlap(other, changed)) other.dirty = true;
}

// The sprites drawn after `node`, in list order.
void MarkCoveredAfter(const SpriteList::Node* node, const Sprite& changed) {
    for (node = node->next; node != nullptr; node = node->next) MarkIfCovered(*node->sprite, changed);
}

// A static sprite that a moving one before it in the list overlaps is drawn
// again over that one.
bool OverlapsMovingBefore(const SpriteList::Node* node) {
    for (const SpriteList::Node* before = node->prev; before != nullptr; before = before->prev) {
        if (before->sprite->savesBackground && SpritesOverlap(*before->sprite, *node->sprite)) return true;
    }
    return false;
}

}  // namespace

LayerManager::LayerManager() {
    PreparePicturePool();
    if (plat::StartOption("check-frames")) check_.Start(displayList_.GetDisplay());
}

void LayerManager::AddSprite(Sprite& sprite, uint8_t layer) {
    sprite.layer = layer;
    sprites_.Insert(&sprite, layer);
    // What is drawn after it goes over it again.
    MarkSpriteDirty(sprite);
}

void LayerManager::AddSpriteAnimated(Sprite& sprite, uint8_t layer) {
    AddSprite(sprite, layer);
    if (animated_ != nullptr) animated_->Insert(&sprite, 0);
}

void LayerManager::RemoveSprite(const Sprite& sprite) {
    // Static sprites after it lose what lay over the gap once its last
    // erasure goes out; they are drawn again.
    MarkCoveredAbove(sprite);
    sprites_.Remove(&sprite);
}

void LayerManager::RemoveSpriteAnimated(const Sprite& sprite) {
    RemoveSprite(sprite);
    if (animated_ != nullptr) animated_->Remove(&sprite);
}

void LayerManager::MarkSpriteDirty(Sprite& sprite) {
    if (!sprite.savesBackground) sprite.dirty = true;
    MarkCoveredAbove(sprite);
}

void LayerManager::MarkCoveredAbove(const Sprite& sprite) {
    // From the top down to the sprite's own node: higher layers, then equal
    // layers drawn after it.
    for (const SpriteList::Node* node = sprites_.Tail();
         node != nullptr && node->sprite != &sprite && node->layer >= sprite.layer; node = node->prev) {
        MarkIfCovered(*node->sprite, sprite);
    }
}

// Every moving sprite is drawn: the last frame's erasure of each goes out
// with this one, so one left out would vanish from the window.
void LayerManager::RedrawDirty() {
    check_.Begin();
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        const Sprite& sprite = *node->sprite;
        if (sprite.savesBackground) {
            MarkCoveredAfter(node, sprite);
            displayList_.DrawSprite(sprite);
        } else if (sprite.dirty) {
            displayList_.DrawSprite(sprite);
        }
    }
    displayList_.FlushDirty();
    if (check_.On()) CheckFrame(false);
    RestoreAllSprites();
}

void LayerManager::RedrawAll() {
    check_.Begin();
    DrawAllSprites();
    displayList_.FlushDirty();
    if (check_.On()) CheckFrame(true);
    RestoreAllSprites();
}

void LayerManager::CheckFrame(bool everyStatic) {
    Surface* const target = GetRenderTarget();
    SetRenderTarget(&check_.Reference());
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        const Sprite& sprite = *node->sprite;
        if (sprite.savesBackground || everyStatic || sprite.dirty || OverlapsMovingBefore(node)) {
            displayList_.DrawSpriteImage(sprite);
        }
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
    for (const SpriteList::Node* node = sprites_.Tail(); node != nullptr; node = node->prev) {
        displayList_.RestoreSprite(*node->sprite);
        node->sprite->dirty = false;
    }
}

void LayerManager::DrawAllSprites() {
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
    if (node == nullptr) displayList_.DrawSprite(sprite);
    RedrawDirty();
}

void LayerManager::DrawSpriteAtScreen(const Sprite& sprite) { displayList_.DrawSpriteAt(sprite, sprite.x, sprite.y); }

}  // namespace gfx
