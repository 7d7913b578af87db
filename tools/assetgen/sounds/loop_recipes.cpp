// The two looping beds. Everything here is periodic over the loop: events that
// run past the end continue at the start, modulators complete whole cycles and
// filters are run round the loop twice so their state matches at the seam.
#include <cmath>

#include "tools/assetgen/sounds/recipes.h"

namespace soundbank {

namespace {

// Runs a stateful filter over `s` as if it repeated forever: the first lap
// only settles the filter, the second writes.
template <typename Step>
void FilterCircular(Signal& s, Step step) {
  const Signal input = s;
  for (int lap = 0; lap < 2; ++lap)
    for (size_t i = 0; i < s.size(); ++i) {
      const float y = step(input[i], i);
      if (lap == 1) s[i] = y;
    }
}

double Cycle(size_t i, size_t period, double cycles, double phase = 0) {
  return std::sin(2 * kPi * cycles * static_cast<double>(i) / static_cast<double>(period) + phase);
}

}  // namespace

Signal MenuMusic(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  // Two bars of 4/4: G | C | D | G, one chord per half bar.
  const double beat = static_cast<double>(count) / 8.0 / rate, eighth = beat / 2;
  const double melody[16] = {493.88, 587.33, 783.99, 587.33, 659.26, 783.99, 659.26, 523.25,
                             739.99, 880.0,  587.33, 739.99, 783.99, 0,      587.33, 493.88};
  const double bass[8] = {98.0, 146.83, 130.81, 98.0, 146.83, 110.0, 98.0, 146.83};
  const double chords[4][3] = {{196.0, 246.94, 293.66}, {261.63, 329.63, 392.0},
                               {293.66, 369.99, 440.0}, {196.0, 246.94, 293.66}};
  for (int i = 0; i < 16; ++i)
    if (melody[i] > 0)
      AddTone(out, rate, {.start = eighth * i, .length = 0.45, .f0 = melody[i], .f1 = melody[i], .gain = 0.55,
                          .attack = 0.004, .tau = 0.14, .harmonics = 4, .tilt = 1.6}, true);
  for (int b = 0; b < 8; ++b) {
    AddTone(out, rate, {.start = beat * b, .length = beat, .f0 = bass[b], .f1 = bass[b], .gain = 0.6,
                        .attack = 0.005, .tau = 0.22, .harmonics = 3, .tilt = 1.8}, true);
    for (double f : chords[b / 2])  // off-beat strum
      AddTone(out, rate, {.start = beat * b + eighth, .length = eighth, .f0 = f, .f1 = f, .gain = 0.12,
                          .attack = 0.003, .tau = 0.06, .harmonics = 3, .tilt = 1.5}, true);
    AddNoiseBurst(out, rate, {.start = beat * b + eighth, .length = 0.05, .c0 = 6500, .c1 = 6000, .q = 1,
                              .gain = 0.25, .attack = 0.001, .tau = 0.012}, rng);
  }
  // A soft kick marks each downbeat so a restart is heard as "from the top".
  for (int bar = 0; bar < 2; ++bar)
    AddTone(out, rate, {.start = beat * 4 * bar, .length = 0.2, .f0 = 95, .f1 = 45, .gain = 0.7,
                        .attack = 0.002, .tau = 0.06});
  return out;
}

Signal HuntAmbience(double rate, size_t count, Rng& rng) {
  Signal wind(count);
  for (float& v : wind) v = static_cast<float>(rng.Bipolar());
  // Wind: a slowly wandering band of noise with gusts.
  SweptBandpass gust(0.8);
  FilterCircular(wind, [&](float x, size_t i) {
    return gust.Process(x, rate, 420 + 220 * Cycle(i, count, 2) + 90 * Cycle(i, count, 5, 1.3));
  });
  for (size_t i = 0; i < count; ++i)
    wind[i] *= static_cast<float>(0.6 + 0.25 * Cycle(i, count, 1) + 0.15 * Cycle(i, count, 3, 1.0));

  Signal out = wind;
  // Water lapping at the reeds, with the odd drip.
  for (int k = 0; k < 14; ++k) {
    Signal lap(At(rate, 0.5), 0.0f);
    AddNoiseBurst(lap, rate, {.start = 0, .length = 0.5, .c0 = 320, .c1 = 160, .q = 1.2, .gain = 1.0,
                              .attack = 0.09, .tau = 0.14}, rng);
    MixInto(out, lap, At(rate, 9.61 * (k + rng.Uniform()) / 14), 0.6f, true);
  }
  for (int k = 0; k < 9; ++k) {
    const double f = rng.Range(500, 800);
    Signal drip(At(rate, 0.04), 0.0f);
    AddTone(drip, rate, {.start = 0, .length = 0.04, .f0 = f, .f1 = f * 2, .gain = 1.0, .attack = 0.001,
                         .tau = 0.012});
    MixInto(out, drip, At(rate, rng.Range(0, 9.6)), 0.25f, true);
  }
  // Distant birds: small chirp groups and two far-off quacks, dulled by distance.
  for (int k = 0; k < 6; ++k) {
    Signal chirps(At(rate, 0.4), 0.0f);
    const int notes = 2 + static_cast<int>(rng.Uniform() * 3);
    const double f = rng.Range(2800, 3800);
    for (int n = 0; n < notes; ++n)
      AddTone(chirps, rate, {.start = 0.09 * n, .length = 0.06, .f0 = f, .f1 = f * 1.3, .gain = 1.0,
                             .attack = 0.005, .tau = 0.03});
    MixInto(out, chirps, At(rate, 1.6 * k + rng.Range(0, 1.0)), 0.12f, true);
  }
  for (double start : {3.1, 7.4}) {
    Signal quack(At(rate, 0.5), 0.0f);
    AddQuack(quack, rate, {.start = 0, .length = 0.15, .pitch = 400, .drop = 0.72, .formantShift = 0.95}, rng);
    AddQuack(quack, rate, {.start = 0.22, .length = 0.13, .pitch = 380, .drop = 0.72, .formantShift = 0.95}, rng);
    OnePole far(rate, 1400);
    for (float& v : quack) v = far.Lowpass(v);
    MixInto(out, quack, At(rate, start), 0.6f, true);
  }
  return out;
}

}  // namespace soundbank
