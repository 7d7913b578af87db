#include "graphics/layer_manager.h"

#include <algorithm>

namespace gfx {
namespace {

constexpr uint8_t kAllDrawn = 255;

// A static sprite is redrawn when something under it changed.
void MarkIfCovered(Sprite& other, const Sprite& changed) {
    if (!other.savesBackground && !other.dirty && SpritesOverlap(other, changed)) other.dirty = true;
}

// The sprites from `node` on whose layer is above `layer`.
void MarkCoveredAbove(const SpriteList::Node* node, const Sprite& changed, uint16_t layer) {
    for (; node != nullptr; node = node->next) {
        if (node->layer > layer) MarkIfCovered(*node->sprite, changed);
    }
}

}  // namespace

void LayerManager::AddSprite(Sprite& sprite, uint8_t layer) {
    sprite.layer = layer;
    if (!sprite.savesBackground) sprite.dirty = true;
    sprites_.Insert(&sprite, layer);
}

void LayerManager::AddSpriteAnimated(Sprite& sprite, uint8_t layer) {
    AddSprite(sprite, layer);
    if (animated_ != nullptr) animated_->Insert(&sprite, 0);
}

void LayerManager::RemoveSprite(const Sprite& sprite) { sprites_.Remove(&sprite); }

void LayerManager::RemoveSpriteAnimated(const Sprite& sprite) {
    RemoveSprite(sprite);
    if (animated_ != nullptr) animated_->Remove(&sprite);
}

void LayerManager::MarkSpriteDirty(Sprite& sprite) {
    minDirtyLayer_ = std::min(minDirtyLayer_, sprite.layer);
    if (!sprite.savesBackground) sprite.dirty = true;
    for (const SpriteList::Node* node = sprites_.Tail(); node != nullptr && node->layer > sprite.layer;
         node = node->prev) {
        MarkIfCovered(*node->sprite, sprite);
    }
}

void LayerManager::RedrawDirty() {
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        const Sprite& sprite = *node->sprite;
        if (sprite.savesBackground) {
            MarkCoveredAbove(node, sprite, node->layer);
            if (node->layer >= minDirtyLayer_) displayList_.DrawSprite(sprite);
        } else if (sprite.dirty) {
            displayList_.DrawSprite(sprite);
        }
    }
    displayList_.FlushDirty();
    for (const SpriteList::Node* node = sprites_.Tail(); node != nullptr; node = node->prev) {
        Sprite& sprite = *node->sprite;
        if (sprite.savesBackground) {
            if (node->layer >= minDirtyLayer_) displayList_.RestoreSprite(sprite);
        } else {
            sprite.dirty = false;
        }
    }
    minDirtyLayer_ = kAllDrawn;
}

void LayerManager::RedrawAll() {
    DrawAllSprites();
    displayList_.FlushDirty();
    RestoreAllSprites();
}

void LayerManager::RedrawShaken(int32_t dx, int32_t dy) {
    DrawAllSprites();
    displayList_.PresentShaken(dx, dy);
    RestoreAllSprites();
}

void LayerManager::RestoreAllSprites() {
    for (const SpriteList::Node* node = sprites_.Tail(); node != nullptr; node = node->prev) {
        displayList_.RestoreSprite(*node->sprite);
    }
    minDirtyLayer_ = kAllDrawn;
}

void LayerManager::DrawAllSprites() {
    for (const SpriteList::Node* node = sprites_.Head(); node != nullptr; node = node->next) {
        displayList_.DrawSprite(*node->sprite);
    }
}

void LayerManager::PresentOneSprite(const Sprite& sprite) {
    displayList_.DiscardDirty();
    displayList_.DrawSprite(sprite);
    displayList_.FlushDirty();
}

void LayerManager::DrawSpriteAtScreen(const Sprite& sprite) { displayList_.DrawSpriteAt(sprite, sprite.x, sprite.y); }

}  // namespace gfx
