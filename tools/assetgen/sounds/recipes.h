// One function per sound. Each returns `count` samples at `rate` at an
// arbitrary scale; the bank removes DC, fades and normalises afterwards.
#pragma once

#include <cstddef>

#include "tools/assetgen/sounds/synth.h"

namespace soundbank {

using Recipe = Signal (*)(double rate, size_t count, Rng& rng);

Signal ShotgunShot(double rate, size_t count, Rng& rng);
Signal LastShell(double rate, size_t count, Rng& rng);
Signal EmptyClick(double rate, size_t count, Rng& rng);
Signal Reload(double rate, size_t count, Rng& rng);
Signal ScaredQuack(double rate, size_t count, Rng& rng);
Signal ScaredFlurry(double rate, size_t count, Rng& rng);
Signal Kill(double rate, size_t count, Rng& rng);
Signal FlockCall(double rate, size_t count, Rng& rng);
Signal RedBirdPenalty(double rate, size_t count, Rng& rng);
Signal DecoyPenalty(double rate, size_t count, Rng& rng);
Signal PageTurn(double rate, size_t count, Rng& rng);
Signal ButtonClick(double rate, size_t count, Rng& rng);

Signal BonusJingle(double rate, size_t count, Rng& rng);
Signal TimeBonus(double rate, size_t count, Rng& rng);
Signal TimePenalty(double rate, size_t count, Rng& rng);
Signal VolumeTest(double rate, size_t count, Rng& rng);
Signal Countdown(double rate, size_t count, Rng& rng);

// Loops: the returned period repeats seamlessly (sample count-1 runs on into
// sample 0).
Signal MenuMusic(double rate, size_t count, Rng& rng);
Signal HuntAmbience(double rate, size_t count, Rng& rng);

// A bell-like note (fundamental, soft octave and an inharmonic shimmer).
void AddBell(Signal& out, double rate, double start, double freq, double gain, double tau, bool wrap = false);

}  // namespace soundbank
