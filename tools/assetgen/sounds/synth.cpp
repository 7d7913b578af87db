#include "tools/assetgen/sounds/synth.h"

#include <algorithm>
#include <cmath>

namespace soundbank {

uint64_t Rng::Next() {
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return state_ * 0x2545F4914F6CDD1Dull;
}

double Rng::Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

Biquad Biquad::Lowpass(double rate, double freq, double q) {
  const double w = 2 * kPi * freq / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::Highpass(double rate, double freq, double q) {
  const double w = 2 * kPi * freq / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::Bandpass(double rate, double freq, double q) {
  const double w = 2 * kPi * freq / rate, c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Biquad(alpha, 0, -alpha, 1 + alpha, -2 * c, 1 - alpha);
}

float Biquad::Process(float x) {
  const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = x;
  y2_ = y1_;
  y1_ = y;
  return static_cast<float>(y);
}

float SweptBandpass::Process(float x, double rate, double centre) {
  const double g = std::tan(kPi * std::min(centre, rate * 0.49) / rate);
  const double a1 = 1.0 / (1.0 + g * (g + damp_)), a2 = g * a1, a3 = g * a2;
  const double v3 = x - s2_;
  const double v1 = a1 * s1_ + a2 * v3;
  const double v2 = s2_ + a2 * s1_ + a3 * v3;
  s1_ = 2 * v1 - s1_;
  s2_ = 2 * v2 - s2_;
  return static_cast<float>(damp_ * v1);
}

OnePole::OnePole(double rate, double cutoff) : a_(1.0 - std::exp(-2 * kPi * cutoff / rate)) {}

float OnePole::Lowpass(float x) {
  y_ += a_ * (x - y_);
  return static_cast<float>(y_);
}

size_t At(double rate, double seconds) {
  return seconds <= 0 ? 0 : static_cast<size_t>(std::lround(seconds * rate));
}

double Percussive(double t, double attack, double tau) {
  if (t < 0) return 0;
  if (t < attack) return t / attack;
  return std::exp(-(t - attack) / tau);
}

// Short release at the end of every event so nothing is cut off mid-wave.
static double EndTaper(double t, double length) {
  const double release = std::min(0.006, length * 0.25);
  const double left = length - t;
  return left >= release ? 1.0 : std::max(0.0, left / release);
}

void AddTone(Signal& out, double rate, const Tone& tone, bool wrap) {
  const size_t begin = At(rate, tone.start), count = At(rate, tone.length);
  const double nyquistGuard = std::min(tone.maxFreq, rate * 0.45);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    size_t index = begin + i;
    if (index >= out.size()) {
      if (!wrap || out.empty()) break;
      index %= out.size();
    }
    const double t = static_cast<double>(i) / rate;
    const double glide = std::pow(tone.f1 / tone.f0, t / tone.length);
    const double vibrato = 1.0 + tone.vibratoDepth * std::sin(2 * kPi * tone.vibratoHz * t);
    const double f = tone.f0 * glide * vibrato;
    phase += 2 * kPi * f / rate;
    double v = 0;
    for (int k = 1; k <= tone.harmonics && f * k < nyquistGuard; ++k)
      v += std::sin(phase * k) / std::pow(k, tone.tilt);
    const double env = Percussive(t, tone.attack, tone.tau) * EndTaper(t, tone.length);
    out[index] += static_cast<float>(tone.gain * env * v);
  }
}

void AddNoiseBurst(Signal& out, double rate, const NoiseBurst& burst, Rng& rng) {
  const size_t begin = At(rate, burst.start), count = At(rate, burst.length);
  const double top = rate * 0.45;
  SweptBandpass filter(burst.q);
  for (size_t i = 0; i < count && begin + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / rate;
    const double centre = std::min(top, burst.c0 * std::pow(burst.c1 / burst.c0, t / burst.length));
    const double band = filter.Process(static_cast<float>(rng.Bipolar()), rate, centre);
    const double env = Percussive(t, burst.attack, burst.tau) * EndTaper(t, burst.length);
    out[begin + i] += static_cast<float>(burst.gain * env * band);
  }
}

void AddQuack(Signal& out, double rate, const Quack& quack, Rng& rng) {
  const size_t begin = At(rate, quack.start), count = At(rate, quack.length);
  const double s = quack.formantShift, top = std::min(rate * 0.45, 5000.0);
  Biquad f1 = Biquad::Bandpass(rate, 950 * s, 4), f2 = Biquad::Bandpass(rate, 1550 * s, 6);
  Biquad f3 = Biquad::Bandpass(rate, 2600 * s, 7), nasal = Biquad::Bandpass(rate, 380 * s, 3);
  double phase = 0;
  for (size_t i = 0; i < count && begin + i < out.size(); ++i) {
    const double t = static_cast<double>(i) / rate, u = t / quack.length;
    // Pitch rises briefly then falls: the "wa" of a quack.
    const double f = quack.pitch * (1.0 + 0.12 * std::sin(kPi * std::min(1.0, u * 3))) *
                     std::pow(quack.drop, u);
    phase += 2 * kPi * f / rate;
    double source = 0;
    for (int k = 1; f * k < top; ++k) source += std::sin(phase * k) / (0.6 * k + 0.4);
    source += 0.35 * rng.Bipolar();  // rasp
    const auto x = static_cast<float>(source);
    const double voiced = 1.0 * f1.Process(x) + 0.8 * f2.Process(x) + 0.45 * f3.Process(x) +
                          0.5 * nasal.Process(x);
    const double env = std::min(1.0, t / 0.012) * (0.55 + 0.45 * std::sin(kPi * std::min(1.0, u * 1.6))) *
                       std::pow(std::max(0.0, 1.0 - u), 0.6) * EndTaper(t, quack.length);
    out[begin + i] += static_cast<float>(quack.gain * env * voiced);
  }
}

void MixInto(Signal& out, const Signal& src, size_t offset, float gain, bool wrap) {
  for (size_t i = 0; i < src.size(); ++i) {
    size_t index = offset + i;
    if (index >= out.size()) {
      if (!wrap || out.empty()) break;
      index %= out.size();
    }
    out[index] += gain * src[i];
  }
}

void RemoveDc(Signal& s, double rate, double cutoff) {
  OnePole dc(rate, cutoff);
  for (float& v : s) v = dc.Highpass(v);
}

void FadeEnds(Signal& s, double rate, double fadeIn, double fadeOut) {
  const size_t in = std::min(s.size(), At(rate, fadeIn)), out = std::min(s.size(), At(rate, fadeOut));
  for (size_t i = 0; i < in; ++i)
    s[i] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(in)));
  for (size_t i = 0; i < out; ++i)
    s[s.size() - 1 - i] *=
        static_cast<float>(0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / static_cast<double>(out)));
}

void Normalise(Signal& s, float peak) {
  float largest = 0;
  for (float v : s) largest = std::max(largest, std::fabs(v));
  if (largest <= 0) return;
  const float k = peak / largest;
  for (float& v : s) v *= k;
}

}  // namespace soundbank
