#include "PartialRefine.h"

#include <algorithm>
#include <cmath>

#include "Hann.h"
#include "HarmonicFit.h"
#include "base/SoundFormat.h"

namespace Measure {
namespace {

constexpr double kBin = static_cast<double>(drovane::kSampleRate) / PartialRefine::kSize;
constexpr double kBelow = 0.01, kAbove = 0.03;  // where partial n is looked for, relative: B up to kLargestB
constexpr double kFloor = 1e-4;                 // a partial this far below the strongest (40 dB) is noise

}  // namespace

PartialRefine::PartialRefine() : fft_(kSize), in_(kSize), out_(kSize / 2 + 1), power_(kSize / 2 + 1) {}

// The highest bin within partial n's reach, interpolated on the logarithm
// of the power (a Hann window's peak is nearly a parabola there).
bool PartialRefine::Peak(double hertz, int n, double floor, double *at, double *power) const {
  const int from = std::max(2, static_cast<int>(n * hertz * (1 - kBelow) / kBin) - 1);
  const int to = std::min(kSize / 2 - 2, static_cast<int>(n * hertz * (1 + kAbove) / kBin) + 2);
  int best = from;
  for (int k = from; k <= to; ++k)
    if (power_[k] > power_[best]) best = k;
  if (best == from || best == to || power_[best] < floor) return false;
  const double a = std::log(power_[best - 1]), b = std::log(power_[best]), c = std::log(power_[best + 1]);
  const double curvature = a - 2 * b + c;
  const double offset = curvature < 0 ? 0.5 * (a - c) / curvature : 0;
  *at = (best + offset) * kBin;
  *power = power_[best];
  return true;
}

bool PartialRefine::Refine(const int16_t *x, int count, double hertz, double *first) {
  count = std::min(count, kSize);
  if (window_.size() != static_cast<size_t>(count)) {
    window_.resize(count);
    for (int t = 0; t < count; ++t) window_[t] = Hann(t, count);
  }
  for (int t = 0; t < count; ++t) in_[t] = x[t] * window_[t];
  std::fill(in_.begin() + count, in_.end(), 0.0);
  fft_.Transform(in_.data(), out_.data());
  for (size_t k = 0; k < out_.size(); ++k) power_[k] = std::norm(out_[k]) + 1e-9;
  const double strongest = *std::max_element(power_.begin(), power_.end());
  std::vector<PartialMeasure> partials;
  for (int n = 1; n <= kMostPartials && n * hertz * (1 + kAbove) < kHighest; ++n) {
    double at = 0, power = 0;
    if (Peak(hertz, n, kFloor * strongest, &at, &power)) partials.push_back({n, at, power});
  }
  HarmonicString fitted;
  if (partials.size() < 2 || !FitHarmonicString(partials, 0, &fitted)) return false;
  *first = fitted.Fundamental();
  return std::fabs(std::log2(*first / hertz)) < 1.0 / 36;
}

}  // namespace Measure
