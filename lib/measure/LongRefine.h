#pragma once

#include <cstdint>

// Sub-sample refinement of a period of any length over a stretch of any
// length: the precise refinement's way (PreciseRefine.h), the dip of the
// squared difference function interpolated on whole lags at one period,
// then at twice as many each step, as far as the stretch allows.
namespace Amdf {

// The refined period near whole lag k0 (at least 3) over x[0…count−1]: a
// third of the stretch is summed per lag, the rest is the lags' reach. The
// stretch must hold three periods. Returns a value in [k0 − 1, k0 + 1].
double RefineLong(const int16_t *x, int count, int k0);

}  // namespace Amdf
