#include "PartialTrack.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "StrumFormat.h"
#include "measure/Hann.h"

namespace Strum {

using Measure::Hann;

namespace {

// The window, scaled so that a sinusoid of amplitude A reads A.
const std::array<double, PartialTrack::kFrame> &Window() {
  static const std::array<double, PartialTrack::kFrame> window = [] {
    std::array<double, PartialTrack::kFrame> w;
    double sum = 0;
    for (int t = 0; t < PartialTrack::kFrame; ++t) sum += w[t] = Hann(t, PartialTrack::kFrame);
    for (double &v : w) v *= 2 / sum;
    return w;
  }();
  return window;
}

}  // namespace

void PartialTrack::Compute(const int16_t *samples, int count, double hertz) {
  hertz_ = hertz;
  frames_.clear();
  if (count < kFrame) return;
  re_.resize(count);
  im_.resize(count);
  // The phasor is set afresh every block so that rounding cannot build up.
  constexpr int kBlock = 256;
  const double omega = -2 * std::numbers::pi * hertz / kSampleRate;
  const std::complex<double> step = std::polar(1.0, omega);
  for (int from = 0; from < count; from += kBlock) {
    std::complex<double> turn = std::polar(1.0, omega * from);
    for (int t = from; t < std::min(count, from + kBlock); ++t, turn *= step) {
      re_[t] = turn.real() * samples[t];
      im_[t] = turn.imag() * samples[t];
    }
  }
  const std::array<double, kFrame> &window = Window();
  for (int start = 0; start + kFrame <= count; start += kHop) {
    // Four sums apiece, so that the compiler may keep them in vector lanes.
    double re[4] = {}, im[4] = {};
    const double *x = &re_[start], *y = &im_[start];
    for (int t = 0; t < kFrame; t += 4)
      for (int l = 0; l < 4; ++l) re[l] += window[t + l] * x[t + l], im[l] += window[t + l] * y[t + l];
    frames_.emplace_back(re[0] + re[1] + re[2] + re[3], im[0] + im[1] + im[2] + im[3]);
  }
}

// The Hann window's weight from its start to u (of its length) is
// u − sin(2πu)/(2π).
double PartialTrack::After(int m, double t) {
  const double u = std::clamp((t - m * kHop) / kFrame, 0.0, 1.0);
  return 1 - (u - std::sin(2 * std::numbers::pi * u) / (2 * std::numbers::pi));
}

}  // namespace Strum
