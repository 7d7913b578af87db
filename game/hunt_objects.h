// The hunt's objects: built before any window exists and kept for the whole
// run; each hunt initialises and releases them.
#pragma once

#include "game/duck_flock.h"
#include "game/feather_bursts.h"
#include "game/field_targets.h"
#include "game/hit_splashes.h"
#include "game/hunt_clock.h"
#include "game/scenery.h"
#include "game/score_board.h"
#include "game/shell_magazine.h"
#include "game/shot_puffs.h"

extern HitSplashes g_hitSplashes;
extern DuckFlock g_duckFlock;
extern Scenery g_scenery;
extern ShellMagazine g_shellMagazine;
extern ShotPuffs g_shotPuffs;
extern HuntClock g_huntClock;
extern ScoreBoard g_scoreBoard;
extern FeatherBursts g_featherBursts;
extern FieldTargets g_fieldTargets;

// Seeds the game's generators from the tick counter. Called once the
// platform's clock runs, before the first view starts.
void SeedHuntGenerators();
