#pragma once

#include <cstdint>

namespace Amdf {

// Σ_{j<count} (x[j] − x[j+lag])², exactly (any summation order gives the
// same value). Reads x[0…count+lag−1].
int64_t SquaredDifference(const int16_t *x, int lag, int count);

}  // namespace Amdf
