// A fixed pool of objects that never move (the scene keeps pointers to their
// sprites): the first count() are in use, and giving one back moves the last
// into its place. Nothing is allocated after construction. The scene's part
// (keep, remove, hide, show) is for things with a sprite of their own:
// Targets and hit animations.
#pragma once

#include <cstdint>

#include "graphics/layer_manager.h"

template <typename T, int N>
class SlotTable {
public:
    SlotTable() {
        for (int i = 0; i < N; ++i) slots_[i] = &pool_[i];
    }
    SlotTable(const SlotTable&) = delete;
    SlotTable& operator=(const SlotTable&) = delete;

    uint8_t count() const { return count_; }
    bool full() const { return count_ >= N; }
    T& operator[](int i) { return *slots_[i]; }
    const T& operator[](int i) const { return *slots_[i]; }

    // The object the next take() or keep() hands out, to be set up first;
    // null when the table is full.
    T* spare() { return full() ? nullptr : slots_[count_]; }
    // The spare object, now last in use; null when the table is full.
    T* take() {
        T* slot = spare();
        if (slot != nullptr) ++count_;
        return slot;
    }
    // Entry i is free again; the last entry moves into place i.
    void give(int i) {
        T* gone = slots_[i];
        --count_;
        slots_[i] = slots_[count_];
        slots_[count_] = gone;
    }
    // Gives back every entry for which `leaves` (which cleans it up) answers
    // true; true when any left.
    template <typename Leaves>
    bool removeIf(Leaves leaves) {
        bool any = false;
        for (int i = 0; i < count_;) {
            if (!leaves(*slots_[i])) {
                ++i;
                continue;
            }
            give(i);  // the last entry moved into place i: look at it again
            any = true;
        }
        return any;
    }

    // The spare object's sprite enters the scene and the animation list.
    void keep(gfx::LayerManager& scene, uint8_t layer) { scene.AddSpriteAnimated(take()->sprite(), layer); }
    // Out of the scene and the animation list before it is released, so that
    // neither keeps a sprite whose buffers are gone.
    void remove(gfx::LayerManager& scene, int i) {
        T* gone = slots_[i];
        scene.RemoveSpriteAnimated(gone->sprite());
        gone->release();
        give(i);
        scene.RedrawDirty();
    }
    void removeAll(gfx::LayerManager& scene) {
        while (count_ > 0) remove(scene, count_ - 1);
    }
    void hide(gfx::LayerManager& scene) {
        for (int i = 0; i < count_; ++i) scene.RemoveSpriteAnimated(slots_[i]->sprite());
    }
    void show(gfx::LayerManager& scene) {
        for (int i = 0; i < count_; ++i) scene.AddSpriteAnimated(slots_[i]->sprite(), slots_[i]->sprite().layer);
    }

private:
    T pool_[N];
    T* slots_[N];  // a permutation of pool_
    uint8_t count_ = 0;
};
