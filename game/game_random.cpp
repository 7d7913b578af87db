#include "game/game_random.h"

#include "platform/platform.h"

GameRandom g_gameRandom;

void GameRandom::seed() {
    plat::Srand((16807u * plat::GetTickCount()) >> 1);
    seedWith(plat::Rand());
}

void GameRandom::seedWith(int32_t value) {
    int32_t state = value % kModulus;
    if (state < 0) state += kModulus;
    if (state % 7 == 0) ++state;
    state_ = state;
}

int32_t GameRandom::next() {
    state_ = static_cast<int32_t>(static_cast<int64_t>(state_) * kMultiplier % kModulus);
    return state_;
}

int32_t GameRandom::below(int32_t n) {
    return static_cast<int32_t>(static_cast<int64_t>(next()) * n / kModulus);
}
