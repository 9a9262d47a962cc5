#include "LongRefine.h"

#include <algorithm>
#include <cmath>

#include "SquaredDifference.h"

namespace Amdf {
namespace {

struct Stretch {
  const int16_t *x;
  int diffs;  // differences per lag
  double At(int lag) const { return static_cast<double>(SquaredDifference(x, lag, diffs)); }
};

// Offset of the vertex of the parabola through (−1, a), (0, b), (1, c),
// b the lowest: within [−0.5, 0.5].
double Vertex(double a, double b, double c) {
  const double curvature = a - 2 * b + c;
  return curvature > 0 ? 0.5 * (a - c) / curvature : 0;
}

// The dip next to whole lag `*centre`, moved at most once toward a lower
// neighbour; false when it lies further away.
bool Dip(const Stretch &s, int *centre, double *vertex) {
  int at = *centre;
  double a = s.At(at - 1), b = s.At(at), c = s.At(at + 1);
  if (a < b && a <= c) {
    c = b, b = a, --at;
    a = s.At(at - 1);
  } else if (c < b) {
    a = b, b = c, ++at;
    c = s.At(at + 1);
  }
  *centre = at;
  if (a < b || c < b) return false;
  *vertex = at + Vertex(a, b, c);
  return true;
}

}  // namespace

double RefineLong(const int16_t *x, int count, int k0) {
  const int k = std::max(k0, 3);
  const Stretch s{x, count / 3};
  const int span = count - s.diffs - 3;  // the dip's farthest neighbour stays inside
  int centre = k;
  double period;
  if (span < k + 2 || !Dip(s, &centre, &period)) return std::clamp(static_cast<double>(centre), k - 1.0, k + 1.0);
  for (int n = 1; n < static_cast<int>(span / period);) {
    const int next = std::min(2 * n, static_cast<int>(span / period));
    int lag = static_cast<int>(std::floor(next * period + 0.5));
    double dip;
    if (lag + 2 > span || !Dip(s, &lag, &dip)) break;
    period = dip / next;
    n = next;
  }
  return std::clamp(period, k - 1.0, k + 1.0);
}

}  // namespace Amdf
