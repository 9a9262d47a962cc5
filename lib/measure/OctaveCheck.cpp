#include "OctaveCheck.h"

#include "PeriodSearch.h"

namespace Amdf {

int CheckOctave(const std::vector<double> &curve, int lag) {
  const int last = static_cast<int>(curve.size()) - 1;
  while (2 * lag + 2 <= last && curve[lag] > kClearDip) {
    const int doubled = LowestNear(curve, 2 * lag, 2);
    if (curve[doubled] >= kDeeperBy * curve[lag]) break;
    lag = doubled;
  }
  return lag;
}

}  // namespace Amdf
