// Sprites in ascending layer order, on a fixed pool of nodes so adding and
// removing never allocates.
#pragma once

#include <cstdint>
#include <span>

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

    // The same order as an array of Count() entries: the walks of every
    // frame read it without following the chain.
    struct Entry {
        Sprite* sprite;
        uint16_t layer;
    };
    std::span<const Entry> Ordered() const { return {ordered_, count_}; }

private:
    void Link(Node* node);
    void Reorder();

    Node nodes_[kCapacity];
    Node* free_ = nullptr;  // chained through next
    Node* head_ = nullptr;
    Node* tail_ = nullptr;
    uint16_t count_ = 0;
    Entry ordered_[kCapacity] = {};
};

}  // namespace gfx
