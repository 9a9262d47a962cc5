#include "AmdfRefine.h"

#include <cmath>
#include <cstring>

#include "AmdfTable.h"
#include "SimdClones.h"

namespace Amdf {
namespace {

typedef double Vec4 __attribute__((vector_size(32)));
typedef int64_t Mask4 __attribute__((vector_size(32)));

// Σ |x[j] − (x[j+n] + f·(x[j+n+1] − x[j+n]))| over kRefineDiffs terms, each
// term computed exactly as written; four lanes are summed side by side.
DROVANE_SIMD_CLONES
double InterpolatedSum(const double *x, int n, double f) {
  const double *y = x + n;
  const Mask4 magnitude = {INT64_MAX, INT64_MAX, INT64_MAX, INT64_MAX};
  const Vec4 fv = {f, f, f, f};
  Vec4 acc = {0, 0, 0, 0};
  int j = 0;
  for (; j + 4 <= kRefineDiffs; j += 4) {
    Vec4 x0, y0, y1;
    std::memcpy(&x0, x + j, sizeof x0);
    std::memcpy(&y0, y + j, sizeof y0);
    std::memcpy(&y1, y + j + 1, sizeof y1);
    const Vec4 d = x0 - (y0 + fv * (y1 - y0));
    acc += reinterpret_cast<Vec4>(reinterpret_cast<Mask4>(d) & magnitude);
  }
  double s = (acc[0] + acc[1]) + (acc[2] + acc[3]);
  for (; j < kRefineDiffs; ++j) s += std::fabs(x[j] - (y[j] + f * (y[j + 1] - y[j])));
  return s;
}

struct Point {
  double x, y;
};

// Vertex of the parabola through three points; false when the fit fails
// (not opening upward, or not a number).
bool Vertex(const Point p[3], double *v) {
  const double x0 = p[0].x, x1 = p[1].x, x2 = p[2].x;
  const double y0 = p[0].y, y1 = p[1].y, y2 = p[2].y;
  const double a2 = ((y2 - y0) - (y1 - y0) * (x2 - x0) / (x1 - x0)) /
                    ((x2 * x2 - x0 * x0) - (x1 * x1 - x0 * x0) * (x2 - x0) / (x1 - x0));
  const double a1 = ((y1 - y0) - a2 * (x1 * x1 - x0 * x0)) / (x1 - x0);
  const double a0 = y0 - a2 * (x0 * x0) - a1 * x0;
  if (!(a2 > 0) || std::isnan(a1) || std::isnan(a0)) return false;
  *v = -a1 / (2 * a2);
  return true;
}

int Nearest(const Point p[3], double v) {
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(p[i].x - v) < std::fabs(p[best].x - v)) best = i;
  return best;
}

int Lowest(const Point p[3]) {
  int best = 0;
  for (int i = 1; i < 3; ++i)
    if (p[i].y < p[best].y) best = i;
  return best;
}

}  // namespace

// The window at whole lags reads 16-bit samples; interpolated lags read a
// copy in doubles, made once per refinement.
class Differences {
 public:
  explicit Differences(const int16_t *x) : x_(x) {}

  double At(double tau) {
    const double n = std::floor(tau);
    const double f = tau - n;
    // Whole lags are exact integer sums, whatever the summation order.
    if (f == 0) return LagSum(x_, static_cast<int>(n), kRefineDiffs) / static_cast<double>(kRefineDiffs);
    if (!converted_) {
      for (int i = 0; i < kWide; ++i) wide_[i] = x_[i];
      converted_ = true;
    }
    return InterpolatedSum(wide_, static_cast<int>(n), f) / kRefineDiffs;
  }

 private:
  static constexpr int kWide = kRefineDiffs + 502;  // lags up to 501, plus the interpolation partner
  const int16_t *x_;
  bool converted_ = false;
  double wide_[kWide];
};

double MeanDifference(const int16_t *x, double tau) { return Differences(x).At(tau); }

double Refine(const int16_t *x, int k0) {
  const int k = k0 < 1 ? 1 : k0 > 500 ? 499 : k0;
  Differences e(x);
  Point p[3];
  for (int i = 0; i < 3; ++i) {
    p[i].x = k - 1 + i;
    p[i].y = e.At(p[i].x);
  }
  for (int replaced = 0;; ++replaced) {
    double v;
    if (!Vertex(p, &v) || v < k - 1 || v > k + 1) break;
    if (replaced == 3) return v;
    Point &q = p[Nearest(p, v)];
    q = {v, e.At(v)};
  }
  return p[Lowest(p)].x;
}

}  // namespace Amdf
