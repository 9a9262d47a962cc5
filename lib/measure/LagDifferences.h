#pragma once

#include <complex>
#include <cstdint>
#include <memory>
#include <vector>

#include "RealFft.h"

namespace Amdf {

// The squared difference Σ_{j<count} (x[j] − x[j+τ])² (SquaredDifference.h)
// at every lag τ = 0…maxLag at once, in O(N log N) instead of O(N·lags):
// the two stretches' energies from a running sum of squares, less twice
// their products, the autocorrelation by FFT. The products are whole
// numbers and are rounded to them: the transforms' rounding stays far below
// a half even at full scale, so the differences come out exact.
class LagDifferences {
 public:
  // out[τ] for τ = 0…maxLag. Reads x[0…count+maxLag−1].
  void Compute(const int16_t *x, int count, int maxLag, std::vector<int64_t> *out);

 private:
  Measure::RealFft &Fft(int size);
  void Products(const int16_t *x, int count, int length, int size);

  std::vector<std::unique_ptr<Measure::RealFft>> ffts_;  // by size, built when first needed
  std::vector<double> head_, whole_;                     // x[0…count−1] and x[0…length−1], zero-padded
  std::vector<std::complex<double>> headSpectrum_, wholeSpectrum_;
  std::vector<int64_t> squares_;  // squares_[i]: Σ x[j]² for j < i
};

}  // namespace Amdf
