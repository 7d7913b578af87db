#include "game/hunt_stats.h"

#include <algorithm>
#include <cstring>

#include "persist/settings.h"

void HuntStats::countFieldHit(int32_t kind, int32_t value) {
    switch (kind) {
        case 1:
            if (value == 1) {
                ++leavesShot;
            } else if (value < 0) {
                penaltyPoints -= value;
                ++otherHits;
            } else if (value > 1) {
                ++otherHits;
            }
            break;
        case 2:
            ++leavesShot;
            ++otherHits;
            break;
        case 3:
            ++otherHits;
            break;
        default:
            break;
    }
}

int32_t HuntStats::accuracy() const {
    if (shotsFired <= 0) return 0;
    const int64_t hits = int64_t{ducksShot} + leavesShot + otherHits;
    return static_cast<int32_t>(std::min<int64_t>(100, hits * 100 / shotsFired));
}

void HuntStats::writeTo(Settings& settings, int32_t score) const {
    settings.resultScore = score;
    settings.resultPending = true;
    settings.KilledDucks = ducksShot;
    settings.KilledLeafs = leavesShot;
    settings.NegPoints = penaltyPoints;
    settings.PersentageSuccess = accuracy();
    settings.LastScores = score;
    std::memcpy(settings.PlayerName, settings.UserName, kNameSize);
    settings.PlayerName[kNameSize - 1] = '\0';
}
