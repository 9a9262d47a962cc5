#pragma once

// Signals made for the estimator's tests: sines, plucked strings with known
// pitch, noise. All deterministic; at the tuner's rate unless told otherwise.

#include <cmath>
#include <cstdint>
#include <vector>

namespace signals {

constexpr double kRate = 22050.0;
constexpr double kPi = 3.14159265358979323846;

inline int16_t Clip(double v) {
  v = std::floor(v + 0.5);
  return static_cast<int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
}

inline std::vector<int16_t> Sine(double hertz, double amplitude, size_t count, double phase = 0, double rate = kRate) {
  std::vector<int16_t> s(count);
  for (size_t i = 0; i < count; ++i) s[i] = Clip(amplitude * std::sin(2 * kPi * hertz * i / rate + phase));
  return s;
}

// A plucked string: harmonics 1…8 of exactly `hertz` (those below the
// tuner's Nyquist frequency, whatever the rate), the higher ones fading
// faster, the whole decaying with time constant `decay` seconds.
inline std::vector<int16_t> Pluck(double hertz, double amplitude, size_t count, double decay = 1.5,
                                  double rate = kRate) {
  std::vector<int16_t> s(count);
  for (size_t i = 0; i < count; ++i) {
    const double t = i / rate;
    double v = 0;
    for (int h = 1; h <= 8; ++h) {
      if (h * hertz >= kRate / 2) break;
      v += std::exp(-t * h / (decay * 2)) / h * std::sin(2 * kPi * h * hertz * t + 0.3 * h);
    }
    s[i] = Clip(amplitude * 0.6 * std::exp(-t / decay) * v);
  }
  return s;
}

inline double Hertz(double note, double cents = 0) { return 440.0 * std::pow(2.0, (note + cents / 100 - 69) / 12); }

// A small linear congruential generator: the same numbers on every machine.
struct Random {
  uint64_t state;
  explicit Random(uint64_t seed) : state(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
  uint32_t Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<uint32_t>(state >> 33);
  }
  int16_t Sample() { return static_cast<int16_t>(Next() & 0xFFFF); }
  double Unit() { return Next() / 2147483648.0; }
};

inline std::vector<int16_t> Noise(uint64_t seed, size_t count, int amplitude = 32767) {
  Random r(seed);
  std::vector<int16_t> s(count);
  for (auto &v : s) v = static_cast<int16_t>(static_cast<int>(r.Next() % (2 * amplitude + 1)) - amplitude);
  return s;
}

}  // namespace signals
