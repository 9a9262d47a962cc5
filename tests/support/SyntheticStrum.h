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
#include <cstddef>
#include <numbers>
#include <optional>
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
  std::array<bool, 6> mute{};  // strings muted besides those
  double gapLow = 0.020, gapHigh = 0.040;  // seconds between strings
  double noiseDb = -40;        // noise RMS against the strum's first second
  double driftLow = 2, driftHigh = 5;  // cents sharp at the attack
  bool upStroke = false;       // highest string first
  std::optional<std::array<double, 6>> cents;  // each string's detuning, in place of random ones
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
  if (s.cents) g.truth.cents = (*s.cents)[index];
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

// Adds one string struck at sample `start` to out, until `end` (where the
// string is struck again) with a 5 ms fade.
inline void Render(const String &g, size_t start, std::vector<double> &out, size_t end = SIZE_MAX) {
  const double b = g.truth.inharmonicity, f0 = g.truth.hertz / std::sqrt(1 + b);
  for (int n = 1; n <= 60; ++n) {
    const double fn = n * f0 * std::sqrt(1 + b * n * n);
    if (fn > 5000) break;
    const double amplitude = g.level * std::abs(std::sin(std::numbers::pi * n * g.pluck)) / n * g.gains[n - 1];
    const double rate = 1 / g.decay + 1.5e-6 * fn * fn;  // higher partials die sooner
    const size_t stop = end < out.size() ? end + 110 : out.size();
    for (size_t i = start; i < std::min(out.size(), stop); ++i) {
      const double t = (i - start) / kRate;
      const double fade = i < end ? 1.0 : 1.0 - (i - end) / 110.0;
      const double envelope = fade * amplitude * std::exp(-rate * t) * std::min(1.0, t / 0.001);
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

// Strums at given times on one recording: each string rings until it is
// struck again; one bed of noise against the loudest second; peak at 12000.
struct Recording {
  std::vector<int16_t> samples;
  std::vector<Strum> strums;  // truths, onsets in the recording; samples left empty
};

struct Strike {
  double time;  // seconds
  uint64_t seed;
  StrumSettings settings;
};

inline Recording MakeRecording(const std::vector<Strike> &strikes, double seconds) {
  std::vector<double> mix(static_cast<size_t>(seconds * kRate));
  std::vector<std::array<String, 6>> strings(strikes.size());
  std::vector<std::array<size_t, 6>> starts(strikes.size());
  Recording recording;
  for (size_t k = 0; k < strikes.size(); ++k) {
    const StrumSettings &s = strikes[k].settings;
    Random r(strikes[k].seed);
    std::array<bool, 6> muted = s.mute;
    for (int m = 0; m < s.muted;) {
      const int i = static_cast<int>(r.Next() % 6);
      if (!muted[i]) muted[i] = true, ++m;
    }
    Strum strum;
    strum.onset = static_cast<size_t>(strikes[k].time * kRate);
    double at = strikes[k].time;
    for (int j = 0; j < 6; ++j) {
      const int i = s.upStroke ? 5 - j : j;
      strings[k][i] = MakeString(r, s, i, muted[i]);
      strings[k][i].truth.onset = at - strikes[k].time;
      starts[k][i] = static_cast<size_t>(at * kRate);
      strum.strings[i] = strings[k][i].truth;
      at += r.Uniform(s.gapLow, s.gapHigh);
    }
    recording.strums.push_back(strum);
  }
  for (size_t k = 0; k < strikes.size(); ++k)
    for (int i = 0; i < 6; ++i) Render(strings[k][i], starts[k][i], mix, k + 1 < strikes.size() ? starts[k + 1][i] : SIZE_MAX);
  double loudest = 0;
  for (const Strum &strum : recording.strums) {
    double energy = 0;
    const size_t second = std::min(mix.size(), strum.onset + static_cast<size_t>(kRate));
    for (size_t i = strum.onset; i < second; ++i) energy += mix[i] * mix[i];
    loudest = std::max(loudest, std::sqrt(energy / std::max<size_t>(1, second - strum.onset)));
  }
  double peak = 1e-9;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  const double noiseDb = strikes.empty() ? -40 : strikes.front().settings.noiseDb;
  const double scale = 12000 / peak, noise = loudest * std::pow(10.0, noiseDb / 20) * std::sqrt(3.0);
  Random r(strikes.empty() ? 0 : strikes.front().seed ^ 0x5EED);
  recording.samples.resize(mix.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    const double v = scale * (mix[i] + noise * r.Uniform(-1, 1));
    recording.samples[i] = static_cast<int16_t>(std::clamp(std::floor(v + 0.5), -32768.0, 32767.0));
  }
  return recording;
}

// One strum `lead` seconds into `seconds` of sound.
inline Strum MakeStrum(uint64_t seed, const StrumSettings &s, double seconds = 2.0, double lead = 0.2) {
  Recording recording = MakeRecording({{lead, seed, s}}, seconds);
  Strum strum = recording.strums.front();
  strum.samples = std::move(recording.samples);
  return strum;
}

}  // namespace synthetic
