#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>

namespace material {

// SplitMix64 with its own uniform and normal draws: the same material on
// every machine and standard library, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  double Uniform(double low = 0, double high = 1) { return low + (high - low) * (Next() >> 11) * 0x1.0p-53; }
  // Uniform on a log scale: for quantities known by their order of magnitude.
  double LogUniform(double low, double high) { return std::exp(Uniform(std::log(low), std::log(high))); }
  double Normal() {
    const double u = Uniform(1e-300, 1), v = Uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t state_;
};

}  // namespace material
