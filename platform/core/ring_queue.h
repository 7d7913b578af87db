// A first-in first-out queue over one buffer that only grows: once it has
// held the most a run queues at once, pushing and popping allocate nothing
// (a std::deque allocates and frees blocks as it goes).
#pragma once

#include <cstddef>
#include <vector>

namespace plat {

template <typename T>
class RingQueue {
public:
    explicit RingQueue(size_t capacity = 64) : items_(capacity) {}

    bool empty() const { return count_ == 0; }
    size_t size() const { return count_; }
    T& front() { return items_[head_]; }
    // The i-th from the front.
    T& at(size_t i) { return items_[(head_ + i) % items_.size()]; }

    void push_back(const T& item) {
        if (count_ == items_.size()) Grow();
        items_[(head_ + count_) % items_.size()] = item;
        ++count_;
    }
    void pop_front() {
        head_ = (head_ + 1) % items_.size();
        --count_;
    }
    void clear() {
        head_ = 0;
        count_ = 0;
    }

private:
    void Grow() {
        std::vector<T> bigger(items_.size() * 2);
        for (size_t i = 0; i < count_; ++i) bigger[i] = at(i);
        items_.swap(bigger);
        head_ = 0;
    }

    std::vector<T> items_;
    size_t head_ = 0;
    size_t count_ = 0;
};

}  // namespace plat
