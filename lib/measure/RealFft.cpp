#include "RealFft.h"

#include <cmath>
#include <numbers>

namespace Measure {

namespace {

// The plain product: std::complex's also handles infinities, at a price.
inline std::complex<double> Times(std::complex<double> a, std::complex<double> b) {
  return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

}  // namespace

RealFft::RealFft(int size) : size_(size), reversed_(size / 2), twiddle_(size / 2), work_(size / 2) {
  const int half = size / 2;
  int bits = 0;
  while ((1 << bits) < half) ++bits;
  for (int i = 0; i < half; ++i) {
    int r = 0;
    for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    reversed_[i] = r;
  }
  for (int k = 0; k < half; ++k) twiddle_[k] = std::polar(1.0, -2 * std::numbers::pi * k / size);
}

// In-place complex transform of work_ (half the real length), iterative
// decimation in time; a stage of span s uses every (half / s)-th twiddle of
// the half-length transform, which is every (size / s)-th of ours.
void RealFft::HalfTransform() {
  const int half = size_ / 2;
  for (int i = 0; i < half; ++i)
    if (i < reversed_[i]) std::swap(work_[i], work_[reversed_[i]]);
  for (int span = 2; span <= half; span <<= 1) {
    const int step = size_ / span;
    for (int start = 0; start < half; start += span) {
      for (int j = 0; j < span / 2; ++j) {
        const std::complex<double> t = Times(twiddle_[j * step], work_[start + j + span / 2]);
        work_[start + j + span / 2] = work_[start + j] - t;
        work_[start + j] += t;
      }
    }
  }
}

// Even samples as real parts, odd ones as imaginary parts; the two spectra
// are separated again by symmetry and joined with one more butterfly.
void RealFft::Transform(const double *in, std::complex<double> *out) {
  const int half = size_ / 2;
  for (int i = 0; i < half; ++i) work_[i] = {in[2 * i], in[2 * i + 1]};
  HalfTransform();
  out[0] = {work_[0].real() + work_[0].imag(), 0};
  out[half] = {work_[0].real() - work_[0].imag(), 0};
  for (int k = 1; k < half; ++k) {
    const std::complex<double> a = work_[k], b = std::conj(work_[half - k]);
    const std::complex<double> even = 0.5 * (a + b);
    const std::complex<double> d = a - b, odd{0.5 * d.imag(), -0.5 * d.real()};  // −i/2·(a − b)
    out[k] = even + Times(twiddle_[k], odd);
  }
}

}  // namespace Measure
