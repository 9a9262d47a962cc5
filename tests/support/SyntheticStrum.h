#pragma once

// Synthetic strums with known truth, for the strum check's tests, benchmark
// and accuracy report: six plucked stiff strings (partials stretched by
// inharmonicity, each decaying at its own rate, a pluck position's comb in
// their amplitudes), struck one after another, each detuned at random, a few
// cents sharp at the attack and settling, some muted (a short thud), with
// white noise. Deterministic for a seed on every machine.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace synthetic {

constexpr double kRate = 22050.0;

// SplitMix64: the same numbers everywhere, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double Uniform(double low, double high) { return low + (high - low) * (Next() >> 11) * 0x1.0p-53; }

 private:
  uint64_t state_;
};

struct StringTruth {
  bool muted = false;
  double hertz = 0;        // settled first partial
  double cents = 0;        // its detuning from the target
  double onset = 0;        // seconds from the strum's start
  double inharmonicity = 0;
};

struct StrumSettings {
  std::array<int, 6> targets{40, 45, 50, 55, 59, 64};
  double reference = 440;
  double detune = 40;          // cents either way, at most
  int muted = 0;               // strings muted, chosen at random
  double gapLow = 0.020, gapHigh = 0.040;  // seconds between strings
  double noiseDb = -40;        // noise RMS against the strum's first second
  double driftLow = 2, driftHigh = 5;  // cents sharp at the attack
  bool upStroke = false;       // highest string first
};

struct String {
  StringTruth truth;
  double level = 1, pluck = 0.2, decay = 2, drift = 0, driftTime = 0.05;
  std::vector<double> gains, phases;
};

inline String MakeString(Random &r, const StrumSettings &s, int index, bool muted) {
  String g;
  const double target = s.reference * std::pow(2.0, (s.targets[index] - 69) / 12.0);
  g.truth.muted = muted;
  g.truth.cents = r.Uniform(-s.detune, s.detune);
  g.truth.hertz = target * std::pow(2.0, g.truth.cents / 1200);
  g.truth.inharmonicity = std::exp(r.Uniform(std::log(1e-5), std::log(3e-4)));
  g.level = r.Uniform(0.5, 1.0) * (muted ? 0.5 : 1.0);
  g.pluck = r.Uniform(0.08, 0.3);
  g.decay = muted ? r.Uniform(0.01, 0.02) : r.Uniform(1.0, 3.0);
  g.drift = (std::pow(2.0, r.Uniform(s.driftLow, s.driftHigh) / 1200) - 1);
  g.driftTime = r.Uniform(0.03, 0.1);
  for (int n = 1; n <= 60; ++n) {
    g.gains.push_back(std::pow(10.0, r.Uniform(-3, 3) / 20));
    g.phases.push_back(r.Uniform(0, 2 * std::numbers::pi));
  }
  return g;
}

// Adds one string struck at sample `start` to out.
inline void Render(const String &g, size_t start, std::vector<double> &out) {
  const double b = g.truth.inharmonicity, f0 = g.truth.hertz / std::sqrt(1 + b);
  for (int n = 1; n <= 60; ++n) {
    const double fn = n * f0 * std::sqrt(1 + b * n * n);
    if (fn > 5000) break;
    const double amplitude = g.level * std::abs(std::sin(std::numbers::pi * n * g.pluck)) / n * g.gains[n - 1];
    const double rate = 1 / g.decay + 1.5e-6 * fn * fn;  // higher partials die sooner
    for (size_t i = start; i < out.size(); ++i) {
      const double t = (i - start) / kRate;
      const double envelope = amplitude * std::exp(-rate * t) * std::min(1.0, t / 0.001);
      if (t > 0.01 && envelope < 1e-7 * g.level) break;
      // Sharp by `drift` at the attack, settling with time constant driftTime.
      const double warped = t + g.drift * g.driftTime * (1 - std::exp(-t / g.driftTime));
      out[i] += envelope * std::sin(2 * std::numbers::pi * fn * warped + g.phases[n - 1]);
    }
  }
}

struct Strum {
  std::vector<int16_t> samples;
  size_t onset = 0;  // sample of the first string's attack
  std::array<StringTruth, 6> strings;
};

// One strum `lead` seconds into `seconds` of sound.
inline Strum MakeStrum(uint64_t seed, const StrumSettings &s, double seconds = 2.0, double lead = 0.2) {
  Random r(seed);
  std::array<bool, 6> muted{};
  for (int m = 0; m < s.muted;) {
    const int i = static_cast<int>(r.Next() % 6);
    if (!muted[i]) muted[i] = true, ++m;
  }
  Strum strum;
  strum.onset = static_cast<size_t>(lead * kRate);
  std::vector<double> mix(static_cast<size_t>(seconds * kRate));
  double at = lead;
  for (int k = 0; k < 6; ++k) {
    const int i = s.upStroke ? 5 - k : k;
    String g = MakeString(r, s, i, muted[i]);
    g.truth.onset = at - lead;
    Render(g, static_cast<size_t>(at * kRate), mix);
    strum.strings[i] = g.truth;
    at += r.Uniform(s.gapLow, s.gapHigh);
  }
  double energy = 0;
  const size_t second = std::min(mix.size(), strum.onset + static_cast<size_t>(kRate));
  for (size_t i = strum.onset; i < second; ++i) energy += mix[i] * mix[i];
  const double rms = std::sqrt(energy / (second - strum.onset));
  double peak = 1e-9;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  const double scale = 12000 / peak, noise = rms * std::pow(10.0, s.noiseDb / 20) * std::sqrt(3.0);
  strum.samples.resize(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    const double v = scale * (mix[i] + noise * r.Uniform(-1, 1));
    strum.samples[i] = static_cast<int16_t>(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
  }
  return strum;
}

}  // namespace synthetic
