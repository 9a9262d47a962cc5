#pragma once

#include <cstdint>

// Sub-sample refinement of a period for precise mode, in place of the
// phone's parabola refits: the dip of the squared difference function,
// interpolated on whole lags over as many periods as the window allows.
namespace Amdf {

inline constexpr int kPreciseWindow = 3000;  // samples the refinement reads
inline constexpr int kPreciseSpan = 2000;    // longest lag measured
// Differences summed per lag: the dip search reaches two lags past the span.
inline constexpr int kPreciseDiffs = kPreciseWindow - kPreciseSpan - 2;

// The refined period near whole lag k0 (clamped to 3…499). Reads
// x[0…2999]. Returns a value in [k − 1, k + 1]: the whole lag k ± 1 when
// the dip lies further than one lag from k.
double RefinePrecise(const int16_t *x, int k0);

}  // namespace Amdf
