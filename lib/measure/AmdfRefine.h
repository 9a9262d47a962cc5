#pragma once

#include <cstdint>

// Sub-sample refinement of a period by repeated parabola fits through the
// mean magnitude difference at three lags.
namespace Amdf {

inline constexpr int kRefineDiffs = 999;  // differences averaged per lag

// The refined period near whole lag k0 (clamped to 1…500; above 500 to 499).
// Reads x[0…1500]. Returns a value in [k − 1, k + 1].
double Refine(const int16_t *x, int k0);

// Mean of |x[j] − x(j + tau)| over j = 0…998, the delayed sample taken by
// linear interpolation; tau within [0, 501].
double MeanDifference(const int16_t *x, double tau);

}  // namespace Amdf
