#include "PeriodSearch.h"

#include <algorithm>

namespace Amdf {

void NormalisedDifference(const std::vector<int64_t> &differences, std::vector<double> *out) {
  const int maxLag = static_cast<int>(differences.size()) - 1;
  out->assign(maxLag + 1, 1.0);
  double sum = 0;
  for (int lag = 1; lag <= maxLag; ++lag) {
    const double d = static_cast<double>(differences[lag]);
    sum += d;
    (*out)[lag] = sum > 0 ? d * lag / sum : 1.0;
  }
}

int LowestNear(const std::vector<double> &curve, int lag, int reach) {
  const int last = static_cast<int>(curve.size()) - 1;
  const int from = std::max(kSearchMinLag, lag - reach), to = std::min(last, lag + reach);
  int best = std::clamp(lag, from, to);
  for (int k = from; k <= to; ++k)
    if (curve[k] < curve[best]) best = k;
  return best;
}

double DipBottom(const std::vector<double> &curve, int lag) {
  const double a = curve[lag - 1], b = curve[lag], c = curve[lag + 1];
  const double curvature = a - 2 * b + c;
  if (curvature <= 0 || b > a || b > c) return b;  // no dip here: its own value
  const double offset = 0.5 * (a - c) / curvature;
  return std::max(0.0, b - 0.25 * (a - c) * offset);
}

namespace {

bool IsDip(const std::vector<double> &curve, int k) { return curve[k] <= curve[k - 1] && curve[k] < curve[k + 1]; }

int FirstBelow(const std::vector<double> &curve, double level) {
  for (int k = kSearchMinLag; k + 1 < static_cast<int>(curve.size()); ++k)
    if (IsDip(curve, k) && DipBottom(curve, k) < level) return k;
  return 0;
}

}  // namespace

int FirstDip(const std::vector<double> &curve) {
  if (static_cast<int>(curve.size()) <= kSearchMinLag + 1) return 0;
  if (const int deep = FirstBelow(curve, kDeepDip)) return deep;
  double lowest = kShallowDip;
  for (int k = kSearchMinLag; k + 1 < static_cast<int>(curve.size()); ++k)
    if (IsDip(curve, k)) lowest = std::min(lowest, DipBottom(curve, k));
  if (lowest >= kShallowDip) return 0;
  return FirstBelow(curve, lowest * 1.2 + 0.02);
}

}  // namespace Amdf
