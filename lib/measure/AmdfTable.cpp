#include "AmdfTable.h"

#include <cmath>
#include <cstdlib>

#include "SimdClones.h"

namespace Amdf {

DROVANE_SIMD_CLONES
int16_t Level(const int16_t *x) {
  int64_t s = 0;
  for (int i = 0; i < kLevelLength; ++i) s += int32_t{x[i]} * x[i];
  const int64_t m = s / kLevelLength;
  // A correctly rounded square root of an integer below 2^53 truncates to
  // the exact integer root.
  const double r = std::trunc(std::sqrt(static_cast<double>(m)));
  if (r < 1) return 1;
  if (r > 32767) return 32767;
  return static_cast<int16_t>(r);
}

DROVANE_SIMD_CLONES
void CoarseTable(const int16_t *x, Table table) {
  for (int k = 0; k < kMinLag; ++k) table[k] = 0;
  for (int k = kMinLag; k < kTableSize; ++k) {
    const int16_t *y = x + k;
    int32_t s = 0;
    for (int j = 0; j < kDiffLength; ++j) s += std::abs(int32_t{y[j]} - int32_t{x[j]});
    table[k] = s / kDiffLength;
  }
}

DROVANE_SIMD_CLONES
int32_t LagSum(const int16_t *x, int lag, int count) {
  const int16_t *y = x + lag;
  int32_t s = 0;
  for (int j = 0; j < count; ++j) s += std::abs(int32_t{x[j]} - int32_t{y[j]});
  return s;
}

}  // namespace Amdf
