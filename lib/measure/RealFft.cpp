#include "RealFft.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "SimdClones.h"

namespace Measure {

namespace {

// The stages of the half-length transform after the bit reversal, every
// butterfly t = w·b, b = a − t, a = a + t in plain products (std::complex's
// also handles infinities, at a price).
DROVANE_SIMD_CLONES
void Stages(double *re, double *im, const double *wRe, const double *wIm, int half) {
  for (int span = 2; span <= half; span <<= 1) {
    const int h = span / 2;
    for (int start = 0; start < half; start += span) {
      double *aRe = re + start, *aIm = im + start, *bRe = aRe + h, *bIm = aIm + h;
      for (int j = 0; j < h; ++j) {
        const double tRe = wRe[j] * bRe[j] - wIm[j] * bIm[j];
        const double tIm = wRe[j] * bIm[j] + wIm[j] * bRe[j];
        bRe[j] = aRe[j] - tRe;
        bIm[j] = aIm[j] - tIm;
        aRe[j] += tRe;
        aIm[j] += tIm;
      }
    }
    wRe += h;
    wIm += h;
  }
}

}  // namespace

RealFft::RealFft(int size)
    : size_(size), reversed_(size / 2), twiddle_(size / 2), re_(size / 2), im_(size / 2) {
  const int half = size / 2;
  int bits = 0;
  while ((1 << bits) < half) ++bits;
  for (int i = 0; i < half; ++i) {
    int r = 0;
    for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    reversed_[i] = r;
  }
  for (int k = 0; k < half; ++k) twiddle_[k] = std::polar(1.0, -2 * std::numbers::pi * k / size);
  // A stage of span s uses every (half / s)-th twiddle of the half-length
  // transform, which is every (size / s)-th of ours.
  for (int span = 2; span <= half; span <<= 1)
    for (int j = 0; j < span / 2; ++j) {
      stageRe_.push_back(twiddle_[j * (size / span)].real());
      stageIm_.push_back(twiddle_[j * (size / span)].imag());
    }
}

// In place on re_ and im_, iterative decimation in time.
void RealFft::HalfTransform() {
  const int half = size_ / 2;
  for (int i = 0; i < half; ++i)
    if (i < reversed_[i]) {
      std::swap(re_[i], re_[reversed_[i]]);
      std::swap(im_[i], im_[reversed_[i]]);
    }
  Stages(re_.data(), im_.data(), stageRe_.data(), stageIm_.data(), half);
}

// Even samples as real parts, odd ones as imaginary parts; the two spectra
// are separated again by symmetry and joined with one more butterfly.
void RealFft::Transform(const double *in, std::complex<double> *out) {
  const int half = size_ / 2;
  for (int i = 0; i < half; ++i) {
    re_[i] = in[2 * i];
    im_[i] = in[2 * i + 1];
  }
  HalfTransform();
  out[0] = {re_[0] + im_[0], 0};
  out[half] = {re_[0] - im_[0], 0};
  for (int k = 1; k < half; ++k) {
    const double aRe = re_[k], aIm = im_[k], bRe = re_[half - k], bIm = -im_[half - k];  // b conjugated
    const double evenRe = 0.5 * (aRe + bRe), evenIm = 0.5 * (aIm + bIm);
    const double oddRe = 0.5 * (aIm - bIm), oddIm = -0.5 * (aRe - bRe);  // −i/2·(a − b)
    const double wRe = twiddle_[k].real(), wIm = twiddle_[k].imag();
    out[k] = {evenRe + (wRe * oddRe - wIm * oddIm), evenIm + (wRe * oddIm + wIm * oddRe)};
  }
}

// Undoes Transform's last butterfly to get the half-length spectrum back,
// then transforms it backwards as the conjugate of the forward transform of
// its conjugate.
void RealFft::Inverse(const std::complex<double> *in, double *out) {
  const int half = size_ / 2;
  for (int k = 0; k < half; ++k) {
    const double aRe = in[k].real(), aIm = in[k].imag(), bRe = in[half - k].real(), bIm = -in[half - k].imag();
    const double evenRe = 0.5 * (aRe + bRe), evenIm = 0.5 * (aIm + bIm);
    const double dRe = 0.5 * (aRe - bRe), dIm = 0.5 * (aIm - bIm);
    const double wRe = twiddle_[k].real(), wIm = -twiddle_[k].imag();  // conjugated: undoes the join
    const double oddRe = wRe * dRe - wIm * dIm, oddIm = wRe * dIm + wIm * dRe;
    re_[k] = evenRe - oddIm;  // conj(even + i·odd)
    im_[k] = -(evenIm + oddRe);
  }
  HalfTransform();
  const double scale = 1.0 / half;
  for (int i = 0; i < half; ++i) {
    out[2 * i] = re_[i] * scale;
    out[2 * i + 1] = -im_[i] * scale;
  }
}

}  // namespace Measure
