#include "LagDifferences.h"

#include <bit>
#include <cmath>

namespace Amdf {

Measure::RealFft &LagDifferences::Fft(int size) {
  const int at = std::countr_zero(static_cast<unsigned>(size));
  if (ffts_.size() <= static_cast<size_t>(at)) ffts_.resize(at + 1);
  if (!ffts_[at]) ffts_[at] = std::make_unique<Measure::RealFft>(size);
  return *ffts_[at];
}

// head_[τ] = Σ_{j<count} x[j]·x[j+τ] for τ < size − length + 1 at least:
// the stretch's correlation with its head, wrapping nowhere below length.
void LagDifferences::Products(const int16_t *x, int count, int length, int size) {
  head_.assign(size, 0.0);
  whole_.assign(size, 0.0);
  for (int j = 0; j < length; ++j) whole_[j] = x[j];
  std::copy(whole_.begin(), whole_.begin() + count, head_.begin());
  headSpectrum_.resize(size / 2 + 1);
  wholeSpectrum_.resize(size / 2 + 1);
  Measure::RealFft &fft = Fft(size);
  fft.Transform(head_.data(), headSpectrum_.data());
  fft.Transform(whole_.data(), wholeSpectrum_.data());
  for (size_t k = 0; k < headSpectrum_.size(); ++k) {
    const std::complex<double> a = headSpectrum_[k], b = wholeSpectrum_[k];  // conj(a)·b
    headSpectrum_[k] = {a.real() * b.real() + a.imag() * b.imag(), a.real() * b.imag() - a.imag() * b.real()};
  }
  fft.Inverse(headSpectrum_.data(), head_.data());
}

void LagDifferences::Compute(const int16_t *x, int count, int maxLag, std::vector<int64_t> *out) {
  const int length = count + maxLag;
  int size = 4;
  while (size < length) size *= 2;
  Products(x, count, length, size);
  squares_.resize(length + 1);
  squares_[0] = 0;
  for (int j = 0; j < length; ++j) squares_[j + 1] = squares_[j] + int64_t{x[j]} * x[j];
  out->resize(maxLag + 1);
  for (int lag = 0; lag <= maxLag; ++lag) {
    const int64_t product = std::llround(head_[lag]);
    (*out)[lag] = squares_[count] + squares_[count + lag] - squares_[lag] - 2 * product;
  }
}

}  // namespace Amdf
