// The game's small random generator: a multiplicative congruential one on
// 16807 states, so every draw is a multiply and a division.
#pragma once

#include <cstdint>

class GameRandom {
public:
    static constexpr int32_t kMultiplier = 2187;
    static constexpr int32_t kModulus = 16807;

    GameRandom() = default;
    virtual ~GameRandom() = default;

    // From the runtime generator, seeded with the tick. Not done on
    // construction: static generators are built before the clock exists.
    void seed();
    // Any value is reduced into a state of the long cycle: 16807 is 7^5, and
    // a state divisible by 7 would stay on a short cycle for ever.
    void seedWith(int32_t value);
    int32_t next();
    // 0..n-1.
    int32_t below(int32_t n);

    int32_t state() const { return state_; }

private:
    int32_t state_ = 1;
};

// The generator every game object shares; the program seeds it at start-up.
extern GameRandom g_gameRandom;
