#include "RealFft.h"

#include <cmath>
#include <numbers>
#include <utility>

#include "SimdClones.h"

namespace Measure {

namespace {

// One butterfly: t = w·b, b = a − t, a = a + t, in plain products
// (std::complex's also handles infinities, at a price).
inline void Butterfly(double wRe, double wIm, double &aRe, double &aIm, double &bRe, double &bIm) {
  const double tRe = wRe * bRe - wIm * bIm;
  const double tIm = wRe * bIm + wIm * bRe;
  bRe = aRe - tRe;
  bIm = aIm - tIm;
  aRe += tRe;
  aIm += tIm;
}

// The butterflies of a block of span 2h: its halves, real and imaginary
// parts apart, overlap nowhere.
inline void Row(const double *__restrict wRe, const double *__restrict wIm, double *__restrict aRe,
                double *__restrict aIm, double *__restrict bRe, double *__restrict bIm, int h) {
  for (int j = 0; j < h; ++j) Butterfly(wRe[j], wIm[j], aRe[j], aIm[j], bRe[j], bIm[j]);
}

// The stages of spans from `from` to `to` on x[0…count−1], spans of two
// and four block after block, the others butterfly after butterfly within
// a block. A stage of span s has its twiddles at s/2 − 1.
inline void Spans(double *re, double *im, const double *wRe, const double *wIm, int count, int from, int to) {
  int span = from;
  if (span == 2) {
    for (int start = 0; start < count; start += 2)
      Butterfly(wRe[0], wIm[0], re[start], im[start], re[start + 1], im[start + 1]);
    span = 4;
  }
  if (span == 4 && span <= to) {
    for (int start = 0; start < count; start += 4)
      for (int j = 0; j < 2; ++j)
        Butterfly(wRe[1 + j], wIm[1 + j], re[start + j], im[start + j], re[start + j + 2], im[start + j + 2]);
    span = 8;
  }
  for (; span <= to; span <<= 1) {
    const int h = span / 2;
    for (int start = 0; start < count; start += span)
      Row(wRe + h - 1, wIm + h - 1, re + start, im + start, re + start + h, im + start + h, h);
  }
}

// The stages of the half-length transform after the bit reversal. The
// stages up to kBlock's span stay within blocks of that size, so one block
// goes through all of them while it is in the cache, then the next; the
// rest go over the whole. Every butterfly does the same either way.
constexpr int kBlock = 512;
DROVANE_SIMD_CLONES
void Stages(double *re, double *im, const double *wRe, const double *wIm, int half) {
  const int block = half < kBlock ? half : kBlock;
  for (int start = 0; start < half; start += block) Spans(re + start, im + start, wRe, wIm, block, 2, block);
  if (block < half) Spans(re, im, wRe, wIm, half, 2 * block, half);
}

}  // namespace

RealFft::RealFft(int size)
    : size_(size), twiddle_(size / 2), re_(size / 2), im_(size / 2) {
  const int half = size / 2;
  int bits = 0;
  while ((1 << bits) < half) ++bits;
  for (int i = 0; i < half; ++i) {
    int r = 0;
    for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    if (i < r) swaps_.push_back({i, r});
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
  for (const auto &[i, r] : swaps_) {
    std::swap(re_[i], re_[r]);
    std::swap(im_[i], im_[r]);
  }
  Stages(re_.data(), im_.data(), stageRe_.data(), stageIm_.data(), size_ / 2);
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
