// Sprites in ascending layer order, on a fixed pool of nodes so adding and
// removing never allocates.
#pragma once

#include <cstdint>

#include "graphics/sprite.h"

namespace gfx {

class SpriteList {
public:
    static constexpr uint16_t kCapacity = 512;

    struct Node {
        Sprite* sprite = nullptr;
        uint16_t layer = 0;
        Node* next = nullptr;
        Node* prev = nullptr;
    };

    SpriteList();
    SpriteList(const SpriteList&) = delete;
    SpriteList& operator=(const SpriteList&) = delete;

    // Before the first node of a higher layer, but after equal layers only
    // at the head: among equal layers the newest goes first, never before
    // the head. False when the list is full.
    bool Insert(Sprite* sprite, uint16_t layer);
    // Unlinks the first node holding the sprite; false when there is none.
    bool Remove(const Sprite* sprite);
    void Clear();

    Node* Head() const { return head_; }
    Node* Tail() const { return tail_; }
    uint16_t Count() const { return count_; }

private:
    Node nodes_[kCapacity];
    Node* free_ = nullptr;  // chained through next
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    uint16_t count_ = 0;
};

}  // namespace gfx
