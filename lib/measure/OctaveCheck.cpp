#include "OctaveCheck.h"

#include "PeriodSearch.h"

namespace Amdf {

int CheckOctave(const std::vector<double> &curve, int lag) {
  const int last = static_cast<int>(curve.size()) - 1;
  while (2 * lag >= kLeastDoubled && 2 * lag + 3 <= last && DipBottom(curve, lag) > kClearDip) {
    const int doubled = LowestNear(curve, 2 * lag, 2);
    if (DipBottom(curve, doubled) >= kDeeperBy * DipBottom(curve, lag)) break;
    lag = doubled;
  }
  return lag;
}

int ShortestAsDeep(const std::vector<double> &curve, int lag) {
  for (bool shorter = true; shorter;) {
    shorter = false;
    for (int k = 2; k <= 3 && !shorter; ++k) {
      if (lag / k - 2 <= kSearchMinLag) break;
      const int part = LowestNear(curve, (lag + k / 2) / k, 2);
      shorter = DipBottom(curve, part) <= kAsDeep * DipBottom(curve, lag) + kNearlyNone;
      if (shorter) lag = part;
    }
  }
  return lag;
}

bool ClearOfShorter(const std::vector<double> &curve, int lag) {
  for (int k = 2; k <= 3; ++k) {
    if (lag / k - 2 < kSearchMinLag) break;
    const int shorter = LowestNear(curve, (lag + k / 2) / k, 2);
    if (kClearer * DipBottom(curve, lag) >= DipBottom(curve, shorter)) return false;
  }
  return true;
}

}  // namespace Amdf
