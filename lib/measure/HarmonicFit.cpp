#include "HarmonicFit.h"

#include <algorithm>
#include <cmath>

namespace Measure {

namespace {

// The weight of y = (f/n)² follows from that of f: dy = 2·f/n²·df.
double YWeight(const PartialMeasure &p) {
  const double slope = 2 * p.hertz / (double(p.n) * p.n);
  return p.weight / (slope * slope);
}

double Y(const PartialMeasure &p) { return (p.hertz / p.n) * (p.hertz / p.n); }

// f0² with B held: the weighted mean of y ÷ (1 + B·n²).
double FitWithB(std::span<const PartialMeasure> partials, double b) {
  double sum = 0, weights = 0;
  for (const PartialMeasure &p : partials) {
    const double stretch = 1 + b * p.n * p.n;
    const double w = YWeight(p) * stretch * stretch;
    sum += w * Y(p) / stretch;
    weights += w;
  }
  return sum / weights;
}

bool CanTellB(std::span<const PartialMeasure> partials) {
  int highest = 0, distinct = 0, last = -1;
  for (const PartialMeasure &p : partials) {
    highest = std::max(highest, p.n);
    if (p.n != last) ++distinct, last = p.n;
  }
  return distinct >= 3 && highest >= 5;
}

}  // namespace

bool FitHarmonicString(std::span<const PartialMeasure> partials, double priorB, HarmonicString *fitted) {
  double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (const PartialMeasure &p : partials) {
    if (p.weight <= 0 || p.n <= 0) return false;
    const double w = YWeight(p), x = double(p.n) * p.n, y = Y(p);
    sw += w, sx += w * x, sy += w * y, sxx += w * x * x, sxy += w * x * y;
  }
  if (sw <= 0) return false;
  double b = priorB;
  if (CanTellB(partials)) {
    const double det = sw * sxx - sx * sx;
    const double c0 = (sy * sxx - sx * sxy) / det, c1 = (sw * sxy - sx * sy) / det;
    b = c0 > 0 ? std::clamp(c1 / c0, 0.0, kLargestB) : priorB;
  }
  return FitHeldB(partials, b, fitted);
}

bool FitHeldB(std::span<const PartialMeasure> partials, double b, HarmonicString *fitted) {
  if (partials.empty()) return false;
  const double f0Squared = FitWithB(partials, b);
  if (!(f0Squared > 0)) return false;
  *fitted = {std::sqrt(f0Squared), b};
  return true;
}

}  // namespace Measure
