#include "PeriodSearch.h"

#include <algorithm>

#include "SquaredDifference.h"

namespace Amdf {

void NormalisedDifference(const int16_t *x, int count, int maxLag, std::vector<double> *out) {
  out->assign(maxLag + 1, 1.0);
  double sum = 0;
  for (int lag = 1; lag <= maxLag; ++lag) {
    const double d = static_cast<double>(SquaredDifference(x, lag, count));
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

namespace {

// From `lag` downhill to the dip's bottom.
int Bottom(const std::vector<double> &curve, int lag) {
  const int last = static_cast<int>(curve.size()) - 1;
  while (lag < last && curve[lag + 1] < curve[lag]) ++lag;
  return lag;
}

int FirstBelow(const std::vector<double> &curve, double level) {
  for (int k = kSearchMinLag; k < static_cast<int>(curve.size()); ++k)
    if (curve[k] < level) return Bottom(curve, k);
  return 0;
}

}  // namespace

int FirstDip(const std::vector<double> &curve) {
  if (static_cast<int>(curve.size()) <= kSearchMinLag) return 0;
  if (const int deep = FirstBelow(curve, kDeepDip)) return deep;
  const double lowest = *std::min_element(curve.begin() + kSearchMinLag, curve.end());
  if (lowest >= kShallowDip) return 0;
  return FirstBelow(curve, lowest * 1.2 + 0.02);
}

}  // namespace Amdf
