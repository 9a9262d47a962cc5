#include "PreciseRefine.h"

#include <algorithm>
#include <cmath>

#include "SimdClones.h"

namespace Amdf {
namespace {

// Σ_{j<kPreciseDiffs} (x[j] − x[j+lag])², exactly: integer sums may be
// vectorised in any order.
DROVANE_SIMD_CLONES
double SquaredDifference(const int16_t *x, int lag) {
  const int16_t *y = x + lag;
  int64_t s = 0;
  for (int j = 0; j < kPreciseDiffs; ++j) {
    const int32_t d = int32_t{x[j]} - int32_t{y[j]};
    s += int64_t{d} * d;
  }
  return static_cast<double>(s);
}

// Offset of the vertex of the parabola through (−1, a), (0, b), (1, c),
// where b is the lowest: within [−0.5, 0.5].
double Vertex(double a, double b, double c) {
  const double curvature = a - 2 * b + c;
  return curvature > 0 ? 0.5 * (a - c) / curvature : 0;
}

// The dip next to whole lag `*centre`: the lowest of three neighbouring
// lags, moved at most once toward a lower neighbour. False, with `*centre`
// at the lag it reached, when the dip lies further away.
bool Dip(const int16_t *x, int *centre, double *vertex) {
  int at = *centre;
  double a = SquaredDifference(x, at - 1), b = SquaredDifference(x, at), c = SquaredDifference(x, at + 1);
  if (a < b && a <= c) {
    c = b, b = a, --at;
    a = SquaredDifference(x, at - 1);
  } else if (c < b) {
    a = b, b = c, ++at;
    c = SquaredDifference(x, at + 1);
  }
  *centre = at;
  if (a < b || c < b) return false;
  *vertex = at + Vertex(a, b, c);
  return true;
}

}  // namespace

// Parabolic interpolation of the squared difference function on whole lags,
// as in YIN (de Cheveigné and Kawahara, 2002), with no interpolated samples
// and hence none of their bias. The dip is found at one period, then at
// twice as many periods each step up to the span: the period is the last
// dip's lag over its count, which divides the interpolation's error, and
// each step predicts the next dip to within a lag. Measured against a
// V-shaped fit of the magnitude difference, one-period fits and steps of
// four, this kept the smallest errors on sines, plucks and noisy signals.
double RefinePrecise(const int16_t *x, int k0) {
  const int k = std::clamp(k0, 3, 499);
  int centre = k;
  double period;
  if (!Dip(x, &centre, &period)) return centre;
  for (int count = 1; count < static_cast<int>(kPreciseSpan / period);) {
    const int next = std::min(2 * count, static_cast<int>(kPreciseSpan / period));
    int lag = static_cast<int>(std::floor(next * period + 0.5));
    double dip;
    if (!Dip(x, &lag, &dip)) break;
    period = dip / next;
    count = next;
  }
  return std::clamp(period, k - 1.0, k + 1.0);
}

}  // namespace Amdf
