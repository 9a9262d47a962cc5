#include "PartialRefine.h"

#include <algorithm>
#include <cmath>

#include "Hann.h"
#include "HarmonicFit.h"
#include "base/SoundFormat.h"

namespace Measure {
namespace {

constexpr double kBin = static_cast<double>(drovane::kSampleRate) / PartialRefine::kSize;
constexpr double kBelow = 0.01, kAbove = 0.03;  // where a low partial n is looked for, relative: B up to kLargestB
constexpr int kAlwaysNear = 5;                  // partials up to it are looked for near n times the note
constexpr double kAroundSeries = 0.3;           // of the note: how far from the fitted series one is looked for
constexpr double kFloor = 1e-4;                 // a partial this far below the strongest (40 dB) is noise

}  // namespace

PartialRefine::PartialRefine() : fft_(kSize), in_(kSize), out_(kSize / 2 + 1), power_(kSize / 2 + 1) {}

PartialRefine::Reach PartialRefine::Where(int n, double hertz, const HarmonicString *series) {
  double low = n * hertz * (1 - kBelow), high = n * hertz * (1 + kAbove);
  if (series && n > kAlwaysNear) {
    const double centre = series->Partial(n);
    low = centre - kAroundSeries * series->f0, high = centre + kAroundSeries * series->f0;
  }
  return {std::max(2, static_cast<int>(low / kBin) - 1), std::min(kSize / 2 - 2, static_cast<int>(high / kBin) + 2)};
}

// The peak is interpolated on the logarithm of the power (a Hann window's
// peak is nearly a parabola there).
bool PartialRefine::Peak(Reach reach, double floor, double *at, double *power) const {
  if (reach.to <= reach.from) return false;
  int best = reach.from;
  for (int k = reach.from; k <= reach.to; ++k)
    if (power_[k] > power_[best]) best = k;
  if (best == reach.from || best == reach.to || power_[best] < floor) return false;
  const double a = std::log(power_[best - 1]), b = std::log(power_[best]), c = std::log(power_[best + 1]);
  const double curvature = a - 2 * b + c;
  const double offset = curvature < 0 ? 0.5 * (a - c) / curvature : 0;
  *at = (best + offset) * kBin;
  *power = power_[best];
  return true;
}

double PartialRefine::Between(double at, double spacing) const {
  double sum = 0;
  int count = 0;
  for (double f : {at - spacing, at + spacing}) {
    const int k = static_cast<int>(std::lround(f / kBin));
    if (k < 1 || k > kSize / 2 - 1) continue;
    sum += power_[k - 1] + power_[k] + power_[k + 1];
    count += 3;
  }
  return count ? sum / count : 0;
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
  HarmonicString series{hertz, 0};
  bool stretchKnown = false;
  for (int n = 1; n <= kMostPartials; ++n) {
    const Reach reach = Where(n, hertz, stretchKnown ? &series : nullptr);
    if (reach.to * kBin > kHighest) break;
    double at = 0, power = 0;
    if (!Peak(reach, kFloor * strongest, &at, &power) || power < kClear * Between(at, 0.5 * series.f0)) continue;
    partials.push_back({n, at, power});
    stretchKnown = partials.size() >= 3 && FitHarmonicString(partials, 0, &series);
  }
  HarmonicString fitted;
  if (partials.size() < 2 || !FitHarmonicString(partials, 0, &fitted)) return false;
  *first = fitted.Fundamental();
  return std::fabs(std::log2(*first / hertz)) < 1.0 / 36;
}

}  // namespace Measure
