#include "game/hunt_objects.h"

#include "game/game_random.h"

// Defined here together so that they are built in this order and destroyed
// in the reverse one.
HitSplashes g_hitSplashes;
DuckFlock g_duckFlock;
Scenery g_scenery;
ShellMagazine g_shellMagazine;
ShotPuffs g_shotPuffs;
HuntClock g_huntClock;
ScoreBoard g_scoreBoard;
FeatherBursts g_featherBursts;
FieldTargets g_fieldTargets;

void SeedHuntGenerators() {
    g_gameRandom.seed();
    g_fieldTargets.seed();
}
