// A fixed number of objects that never move (the scene keeps pointers to
// their sprites), handed out and taken back without allocating. The ones in
// use are listed in order; giving one back moves the last into its place.
#pragma once

#include <cstdint>

template <typename T, uint8_t N>
class SlotPool {
public:
    SlotPool() { reset(); }
    SlotPool(const SlotPool&) = delete;
    SlotPool& operator=(const SlotPool&) = delete;

    // A free object, now last in the list; null when all are in use.
    T* take() {
        if (freeCount_ == 0) return nullptr;
        T* slot = free_[--freeCount_];
        live_[count_++] = slot;
        return slot;
    }
    // Entry i is free again; the last entry moves into place i.
    void give(uint8_t i) {
        free_[freeCount_++] = live_[i];
        live_[i] = live_[--count_];
    }
    // Gives back every entry for which `leaves` (which cleans it up) answers
    // true; true when any left.
    template <typename Leaves>
    bool removeIf(Leaves leaves) {
        bool any = false;
        for (uint8_t i = 0; i < count_;) {
            if (!leaves(*live_[i])) {
                ++i;
                continue;
            }
            give(i);  // the last entry moved into place i: look at it again
            any = true;
        }
        return any;
    }
    // Every object free; cleaning them up is the caller's part.
    void reset() {
        count_ = 0;
        freeCount_ = 0;
        for (T& slot : slots_) free_[freeCount_++] = &slot;
    }

    uint8_t count() const { return count_; }
    T& operator[](uint8_t i) const { return *live_[i]; }

private:
    T slots_[N];
    T* live_[N] = {};
    T* free_[N] = {};
    uint8_t count_ = 0;
    uint8_t freeCount_ = 0;
};
