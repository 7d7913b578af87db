// What a hunt counts for its statistics, and how they reach the Settings
// when the clock runs out.
#pragma once

#include <cstdint>

class Settings;

struct HuntStats {
    // 32-bit: a long hunt of penalty shots must not wrap.
    int32_t ducksShot = 0;
    int32_t leavesShot = 0;
    int32_t otherHits = 0;  // neither a duck nor a plain leaf
    int32_t penaltyPoints = 0;
    int32_t shotsFired = 0;

    void reset() { *this = HuntStats{}; }
    // A field target's result: points (1), a time change (2) or a formation
    // called (3), with its value.
    void countFieldHit(int32_t kind, int32_t value);
    // Hits in percent of the shots fired, 0..100. One tap can hit twice and a
    // time leaf counts twice, so hits may exceed shots; no shot gives 0.
    int32_t accuracy() const;
    // The finished hunt's result and statistics; the registry gets them at
    // the next save.
    void writeTo(Settings& settings, int32_t score) const;
};
