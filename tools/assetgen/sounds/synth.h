// Small floating-point synthesis kit for the sound bank: a deterministic noise
// source, oscillators, envelopes and filters. Signals are plain float vectors
// at one sample rate; amplitudes are nominally within -1..1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace soundbank {

using Signal = std::vector<float>;

inline constexpr double kPi = 3.14159265358979323846;

// xorshift64*: our own generator so that every build yields the same bytes.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed ? seed : 0x9E3779B97F4A7C15ull) {}
  uint64_t Next();
  double Uniform();                 // [0, 1)
  double Bipolar() { return 2.0 * Uniform() - 1.0; }
  double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

 private:
  uint64_t state_;
};

// Second-order section (RBJ cookbook), direct form I.
class Biquad {
 public:
  static Biquad Lowpass(double rate, double freq, double q);
  static Biquad Highpass(double rate, double freq, double q);
  static Biquad Bandpass(double rate, double freq, double q);  // 0 dB peak gain
  float Process(float x);

 private:
  Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
  double b0_, b1_, b2_, a1_, a2_;
  double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Band-pass whose centre may move every sample (trapezoidal state-variable
// filter: stable at any tuning below Nyquist). Unity gain at the centre.
class SweptBandpass {
 public:
  explicit SweptBandpass(double q) : damp_(1.0 / q) {}
  float Process(float x, double rate, double centre);

 private:
  double damp_;
  double s1_ = 0, s2_ = 0;
};

// One-pole smoother, used for envelopes of noise and gentle tone shaping.
class OnePole {
 public:
  OnePole(double rate, double cutoff);
  float Lowpass(float x);
  float Highpass(float x) { return x - Lowpass(x); }

 private:
  double a_;
  double y_ = 0;
};

// Time (seconds) to sample index, clamped at zero.
size_t At(double rate, double seconds);

// Exponential decay reaching 1/e after `tau` seconds; `attack` is a linear rise.
double Percussive(double t, double attack, double tau);

// Adds a tone whose frequency glides exponentially from f0 to f1 over its
// length, with a percussive envelope. `harmonics` adds partials of decreasing
// weight (1/k^tilt), each skipped when it would pass `maxFreq`.
struct Tone {
  double start = 0;       // s
  double length = 0.1;    // s
  double f0 = 440, f1 = 440;
  double gain = 1;
  double attack = 0.002;  // s
  double tau = 0.1;       // s
  int harmonics = 1;
  double tilt = 1;
  double maxFreq = 10000;
  double vibratoHz = 0, vibratoDepth = 0;  // depth as a frequency ratio
};
void AddTone(Signal& out, double rate, const Tone& tone, bool wrap = false);

// Adds white noise through a band-pass whose centre glides from c0 to c1, with
// a percussive envelope.
struct NoiseBurst {
  double start = 0, length = 0.05;
  double c0 = 1000, c1 = 1000, q = 1;
  double gain = 1, attack = 0.001, tau = 0.02;
};
void AddNoiseBurst(Signal& out, double rate, const NoiseBurst& burst, Rng& rng);

// A duck's quack: a buzzy glottal pulse train with falling pitch, shaped by
// nasal formants.
struct Quack {
  double start = 0, length = 0.14;
  double pitch = 420;      // Hz at onset; falls by `drop` (ratio) over the length
  double drop = 0.75;
  double gain = 1;
  double formantShift = 1; // scales the formant frequencies (voice size)
};
void AddQuack(Signal& out, double rate, const Quack& quack, Rng& rng);

// Mixes `src` into `out` starting at sample `offset`, scaled by `gain`; with
// `wrap` the part that runs past the end continues at the start (loops).
void MixInto(Signal& out, const Signal& src, size_t offset, float gain, bool wrap = false);

// Removes DC and sub-audio rumble with a gentle high-pass.
void RemoveDc(Signal& s, double rate, double cutoff = 12.0);

// Short raised-cosine fades at both ends so a one-shot never starts or stops
// with a step.
void FadeEnds(Signal& s, double rate, double fadeIn, double fadeOut);

// Scales so the largest magnitude equals `peak`.
void Normalise(Signal& s, float peak);

}  // namespace soundbank
