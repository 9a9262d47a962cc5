#include "SquaredDifference.h"

#include "SimdClones.h"

namespace Amdf {

DROVANE_SIMD_CLONES
int64_t SquaredDifference(const int16_t *x, int lag, int count) {
  const int16_t *y = x + lag;
  int64_t s = 0;
  for (int j = 0; j < count; ++j) {
    const int32_t d = int32_t{x[j]} - int32_t{y[j]};
    s += int64_t{d} * d;
  }
  return s;
}

}  // namespace Amdf
