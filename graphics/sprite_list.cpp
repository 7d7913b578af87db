#include "graphics/sprite_list.h"

namespace gfx {

SpriteList::SpriteList() { Clear(); }

void SpriteList::Clear() {
    for (uint16_t i = 0; i < kCapacity; ++i) {
        nodes_[i] = Node{};
        nodes_[i].next = i + 1 < kCapacity ? &nodes_[i + 1] : nullptr;
    }
    free_ = &nodes_[0];
    head_ = nullptr;
    tail_ = nullptr;
    count_ = 0;
}

void SpriteList::Reorder() {
    uint16_t i = 0;
    for (const Node* node = head_; node != nullptr; node = node->next) ordered_[i++] = Entry{node->sprite, node->layer};
}

bool SpriteList::Insert(Sprite* sprite, uint16_t layer) {
    if (free_ == nullptr) return false;
    Node* node = free_;
    free_ = node->next;
    *node = Node{sprite, layer, nullptr, nullptr};
    ++count_;
    Link(node);
    Reorder();
    return true;
}

void SpriteList::Link(Node* node) {
    if (head_ == nullptr) {
        head_ = tail_ = node;
        return;
    }
    if (node->layer < head_->layer) {
        node->next = head_;
        head_->prev = node;
        head_ = node;
        return;
    }
    Node* after = head_;
    while (after->next != nullptr && after->next->layer < node->layer) after = after->next;
    node->prev = after;
    node->next = after->next;
    if (after->next != nullptr) {
        after->next->prev = node;
    } else {
        tail_ = node;
    }
    after->next = node;
}

bool SpriteList::Remove(const Sprite* sprite) {
    Node* node = head_;
    while (node != nullptr && node->sprite != sprite) node = node->next;
    if (node == nullptr) return false;
    (node->prev != nullptr ? node->prev->next : head_) = node->next;
    (node->next != nullptr ? node->next->prev : tail_) = node->prev;
    *node = Node{};
    node->next = free_;
    free_ = node;
    --count_;
    Reorder();
    return true;
}

}  // namespace gfx
