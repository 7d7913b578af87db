// Noise-based and voiced effects: shots, clicks, mechanics, ducks, penalties.
#include <cmath>

#include "tools/assetgen/sounds/recipes.h"

namespace soundbank {

namespace {

// The blast of a shotgun: a bright crack, a noisy body that darkens as it
// decays, a falling low thump and two soft reflections from the marsh edge.
void AddBlast(Signal& out, double rate, Rng& rng, double scale) {
  Signal blast(out.size(), 0.0f);
  AddNoiseBurst(blast, rate, {.start = 0, .length = 0.06, .c0 = 6000, .c1 = 1800, .q = 0.7,
                              .gain = 1.3, .attack = 0.0005, .tau = 0.01}, rng);
  AddNoiseBurst(blast, rate, {.start = 0, .length = 0.55, .c0 = 2200, .c1 = 220, .q = 0.8,
                              .gain = 1.2, .attack = 0.001, .tau = 0.08}, rng);
  AddTone(blast, rate, {.start = 0, .length = 0.4, .f0 = 120, .f1 = 42, .gain = 0.9,
                        .attack = 0.002, .tau = 0.09, .harmonics = 2, .tilt = 1.5});
  // Drive into a soft limit: the crack no longer dwarfs the body, so the
  // shot sounds dense and loud at the same peak.
  Normalise(blast, 1.0f);
  for (float& v : blast) v = std::tanh(3.0f * v);
  OnePole dull(rate, 1200);
  Signal echo(blast.size());
  for (size_t i = 0; i < blast.size(); ++i) echo[i] = dull.Lowpass(blast[i]);
  MixInto(out, blast, 0, static_cast<float>(scale));
  MixInto(out, echo, At(rate, 0.13), static_cast<float>(0.32 * scale));
  MixInto(out, echo, At(rate, 0.29), static_cast<float>(0.14 * scale));
}

// A sharp mechanical contact: a tight noise tick plus a short body resonance.
void AddClack(Signal& out, double rate, Rng& rng, double start, double body, double gain) {
  AddNoiseBurst(out, rate, {.start = start, .length = 0.02, .c0 = 3200, .c1 = 2600, .q = 3,
                            .gain = gain, .attack = 0.0003, .tau = 0.003}, rng);
  AddTone(out, rate, {.start = start, .length = 0.06, .f0 = body, .f1 = body * 0.97, .gain = 0.6 * gain,
                      .attack = 0.0005, .tau = 0.012, .harmonics = 3, .tilt = 1.2});
}

// A burst of wing beats, each a soft low noise puff, fading over `length`.
void AddWingFlaps(Signal& out, double rate, Rng& rng, double start, double length, double beatHz,
                  double gain) {
  for (double t = 0; t < length; t += 1.0 / beatHz) {
    const double fade = 1.0 - 0.7 * t / length;
    AddNoiseBurst(out, rate, {.start = start + t + rng.Range(0, 0.01), .length = 0.07, .c0 = 900,
                              .c1 = 400, .q = 0.9, .gain = gain * fade, .attack = 0.01, .tau = 0.02},
                  rng);
  }
}

}  // namespace

Signal ShotgunShot(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddBlast(out, rate, rng, 1.0);
  return out;
}

Signal LastShell(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddBlast(out, rate, rng, 0.55);
  // The spent action locking open: two clacks and a metallic ring.
  AddClack(out, rate, rng, 0.17, 520, 1.0);
  AddClack(out, rate, rng, 0.25, 690, 0.9);
  for (double partial : {1870.0, 2960.0, 4410.0})
    AddTone(out, rate, {.start = 0.25, .length = 0.38, .f0 = partial, .f1 = partial, .gain = 0.25,
                        .attack = 0.001, .tau = 0.1});
  return out;
}

Signal EmptyClick(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddClack(out, rate, rng, 0.004, 1400, 1.0);
  AddClack(out, rate, rng, 0.028, 900, 0.45);
  return out;
}

Signal Reload(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  // Two shells slid into the tube, each ending in a seat click.
  for (double start : {0.0, 0.15}) {
    AddNoiseBurst(out, rate, {.start = start, .length = 0.09, .c0 = 1100, .c1 = 2300, .q = 2,
                              .gain = 0.5, .attack = 0.06, .tau = 0.04}, rng);
    AddClack(out, rate, rng, start + 0.085, 760, 0.7);
  }
  // The pump: back, then forward ("chk-chk").
  AddClack(out, rate, rng, 0.33, 300, 1.0);
  AddNoiseBurst(out, rate, {.start = 0.335, .length = 0.06, .c0 = 1500, .c1 = 900, .q = 1.5,
                            .gain = 0.5, .attack = 0.005, .tau = 0.02}, rng);
  AddClack(out, rate, rng, 0.44, 410, 1.0);
  return out;
}

Signal ScaredQuack(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddQuack(out, rate, {.start = 0.0, .length = 0.15, .pitch = 430, .drop = 0.72}, rng);
  AddQuack(out, rate, {.start = 0.2, .length = 0.13, .pitch = 470, .drop = 0.7, .gain = 0.9}, rng);
  AddQuack(out, rate, {.start = 0.38, .length = 0.2, .pitch = 410, .drop = 0.68, .gain = 0.85}, rng);
  AddWingFlaps(out, rate, rng, 0.03, 0.55, 11, 0.35);
  return out;
}

Signal ScaredFlurry(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  const struct { double start, length, pitch, gain; } calls[] = {
      {0.0, 0.12, 500, 1.0}, {0.15, 0.11, 540, 0.9}, {0.3, 0.16, 480, 0.95},
      {0.56, 0.12, 520, 0.8}, {0.75, 0.22, 450, 0.75}};
  for (const auto& c : calls)
    AddQuack(out, rate, {.start = c.start, .length = c.length, .pitch = c.pitch, .drop = 0.7, .gain = c.gain,
                         .formantShift = 1.12}, rng);
  AddWingFlaps(out, rate, rng, 0.0, 1.0, 13, 0.4);
  return out;
}

Signal Kill(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddTone(out, rate, {.start = 0, .length = 0.12, .f0 = 160, .f1 = 60, .gain = 1.0, .attack = 0.001,
                      .tau = 0.03, .harmonics = 2});
  AddNoiseBurst(out, rate, {.start = 0, .length = 0.03, .c0 = 3800, .c1 = 2500, .q = 1.5, .gain = 1.0,
                            .attack = 0.0003, .tau = 0.008}, rng);
  AddTone(out, rate, {.start = 0.002, .length = 0.15, .f0 = 1760, .f1 = 1700, .gain = 0.35, .tau = 0.04});
  AddTone(out, rate, {.start = 0.002, .length = 0.12, .f0 = 2640, .f1 = 2600, .gain = 0.25, .tau = 0.03});
  AddQuack(out, rate, {.start = 0.03, .length = 0.13, .pitch = 620, .drop = 0.6, .gain = 0.6}, rng);
  return out;
}

Signal FlockCall(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  // A reed caller: a long hail call, then a descending run of short quacks.
  const struct { double start, length, pitch; } calls[] = {
      {0.0, 0.17, 530}, {0.21, 0.14, 505}, {0.39, 0.1, 480}, {0.51, 0.09, 460}, {0.62, 0.11, 440}};
  for (const auto& c : calls)
    AddQuack(out, rate, {.start = c.start, .length = c.length, .pitch = c.pitch, .drop = 0.7,
                         .formantShift = 1.15}, rng);
  return out;
}

Signal RedBirdPenalty(double rate, size_t count, Rng& rng) {
  (void)rng;
  Signal out(count, 0.0f);
  // Everything stays under 9 kHz: the mixer drops every other sample.
  const double limit = 9000;
  for (double f : {155.0, 164.0})  // a beating, sour pair
    AddTone(out, rate, {.start = 0.1, .length = 0.72, .f0 = f, .f1 = f * 0.93, .gain = 0.5, .attack = 0.01,
                        .tau = 0.45, .harmonics = 40, .tilt = 1.0, .maxFreq = limit});
  AddTone(out, rate, {.start = 0.0, .length = 0.07, .f0 = 2800, .f1 = 4300, .gain = 0.45, .attack = 0.003,
                      .tau = 0.05, .harmonics = 2, .maxFreq = limit});
  AddTone(out, rate, {.start = 0.09, .length = 0.08, .f0 = 3000, .f1 = 4600, .gain = 0.4, .attack = 0.003,
                      .tau = 0.05, .harmonics = 2, .maxFreq = limit});
  AddTone(out, rate, {.start = 0.7, .length = 0.15, .f0 = 4000, .f1 = 2400, .gain = 0.3, .attack = 0.005,
                      .tau = 0.08, .harmonics = 2, .maxFreq = limit});
  return out;
}

Signal DecoyPenalty(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  // Hollow wood: a knock exciting a few inharmonic body modes.
  AddNoiseBurst(out, rate, {.start = 0, .length = 0.05, .c0 = 420, .c1 = 380, .q = 4, .gain = 1.0,
                            .attack = 0.0005, .tau = 0.02}, rng);
  const struct { double f, gain, tau; } modes[] = {{190, 0.9, 0.05}, {520, 0.5, 0.03}, {1130, 0.3, 0.015}};
  for (const auto& m : modes)
    AddTone(out, rate, {.start = 0, .length = 0.2, .f0 = m.f, .f1 = m.f * 0.98, .gain = m.gain,
                        .attack = 0.0005, .tau = m.tau});
  for (double f : {233.0, 247.0})  // a minor second, sagging
    AddTone(out, rate, {.start = 0.12, .length = 0.66, .f0 = f, .f1 = f * 0.96, .gain = 0.3,
                        .attack = 0.02, .tau = 0.35, .harmonics = 6, .tilt = 1.5});
  return out;
}

Signal PageTurn(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddNoiseBurst(out, rate, {.start = 0, .length = 0.5, .c0 = 700, .c1 = 4800, .q = 1.2, .gain = 1.0,
                            .attack = 0.17, .tau = 0.1}, rng);
  // Paper crinkle along the swish.
  for (int i = 0; i < 9; ++i)
    AddNoiseBurst(out, rate, {.start = rng.Range(0.06, 0.34), .length = 0.015, .c0 = 5200, .c1 = 4800,
                              .q = 2, .gain = 0.35, .attack = 0.0005, .tau = 0.003}, rng);
  return out;
}

Signal ButtonClick(double rate, size_t count, Rng& rng) {
  Signal out(count, 0.0f);
  AddNoiseBurst(out, rate, {.start = 0, .length = 0.012, .c0 = 3000, .c1 = 2600, .q = 2, .gain = 1.0,
                            .attack = 0.0003, .tau = 0.002}, rng);
  AddTone(out, rate, {.start = 0, .length = 0.12, .f0 = 1250, .f1 = 1200, .gain = 0.6, .attack = 0.0005,
                      .tau = 0.018, .harmonics = 2});
  AddTone(out, rate, {.start = 0.001, .length = 0.25, .f0 = 2500, .f1 = 2500, .gain = 0.08,
                      .attack = 0.001, .tau = 0.05});
  return out;
}

}  // namespace soundbank
