// Tuned cues: jingle, chimes, warning tones and the count-down.
#include <cmath>

#include "tools/assetgen/sounds/recipes.h"

namespace soundbank {

void AddBell(Signal& out, double rate, double start, double freq, double gain, double tau, bool wrap) {
  AddTone(out, rate, {.start = start, .length = tau * 5, .f0 = freq, .f1 = freq, .gain = gain,
                      .attack = 0.003, .tau = tau, .harmonics = 3, .tilt = 2.2}, wrap);
  AddTone(out, rate, {.start = start, .length = tau * 2, .f0 = freq * 2.76, .f1 = freq * 2.76,
                      .gain = gain * 0.12, .attack = 0.002, .tau = tau * 0.4}, wrap);
}

Signal BonusJingle(double rate, size_t count, Rng& rng) {
  (void)rng;
  Signal out(count, 0.0f);
  // C major arpeggio up, a sparkle, then the full chord ringing out.
  const double run[] = {523.25, 659.26, 783.99, 1046.5};
  for (int i = 0; i < 4; ++i) AddBell(out, rate, 0.11 * i, run[i], 0.8, 0.12);
  AddBell(out, rate, 0.46, 1567.98, 0.35, 0.08);
  AddBell(out, rate, 0.52, 1318.51, 0.35, 0.08);
  for (double f : {1046.5, 1318.51, 1567.98}) AddBell(out, rate, 0.6, f, 0.45, 0.3);
  AddBell(out, rate, 0.6, 523.25, 0.4, 0.3);
  return out;
}

Signal TimeBonus(double rate, size_t count, Rng& rng) {
  (void)rng;
  Signal out(count, 0.0f);
  const double steps[] = {783.99, 1046.5, 1318.51, 1567.98};
  for (int i = 0; i < 4; ++i) AddBell(out, rate, 0.085 * i, steps[i], 0.7 + 0.1 * i, 0.09 + 0.03 * i);
  return out;
}

Signal TimePenalty(double rate, size_t count, Rng& rng) {
  (void)rng;
  Signal out(count, 0.0f);
  const double steps[] = {659.26, 523.25, 392.0};
  for (int i = 0; i < 3; ++i) {
    const bool last = i == 2;
    AddTone(out, rate, {.start = 0.17 * i, .length = last ? 0.3 : 0.17, .f0 = steps[i],
                        .f1 = steps[i] * (last ? 0.9 : 0.97), .gain = 1.0, .attack = 0.006,
                        .tau = last ? 0.18 : 0.09, .harmonics = 8, .tilt = 1.5, .maxFreq = 6000,
                        .vibratoHz = last ? 7.0 : 0.0, .vibratoDepth = last ? 0.012 : 0.0});
  }
  return out;
}

Signal VolumeTest(double rate, size_t count, Rng& rng) {
  (void)rng;
  Signal out(count, 0.0f);
  AddBell(out, rate, 0, 880, 1.0, 0.06);
  AddBell(out, rate, 0, 1318.51, 0.25, 0.04);
  return out;
}

Signal Countdown(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  // One beep per clock second, each higher, louder and longer than the last,
  // with a clock tick on every half second in between.
  for (int k = 0; k < 4; ++k) {
    const double t = 1.001 * k, f = 880.0 * std::pow(1.12, k);
    AddNoiseBurst(out, rate, {.start = t, .length = 0.01, .c0 = 2500, .c1 = 2500, .q = 4, .gain = 0.6,
                              .attack = 0.0003, .tau = 0.002}, rng);
    AddTone(out, rate, {.start = t, .length = 0.14 + 0.05 * k + (k == 3 ? 0.35 : 0.0), .f0 = f, .f1 = f,
                        .gain = 0.6 + 0.13 * k, .attack = 0.003, .tau = k == 3 ? 0.3 : 0.12, .harmonics = 5,
                        .tilt = 1.4, .maxFreq = 5000});
    AddNoiseBurst(out, rate, {.start = t + 0.5, .length = 0.01, .c0 = 2200, .c1 = 2200, .q = 4,
                              .gain = 0.35, .attack = 0.0003, .tau = 0.002}, rng);
  }
  return out;
}

}  // namespace soundbank
