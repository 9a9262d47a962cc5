#pragma once

#include <vector>

namespace Amdf {

// The period to take for a dip found at `lag` of a normalised difference
// curve (PeriodSearch.h): twice the lag, again and again, while the curve
// dips clearly deeper there. A string heard with little fundamental (a bass
// through a small speaker, a microphone's high-pass) sounds much like its
// octave: its even partials repeat at half the period, only the weaker odd
// ones tell the whole one. The doubled lag must lie within the curve.
inline constexpr double kDeeperBy = 0.3;    // the dip at 2·lag below this share of the one at lag
inline constexpr double kClearDip = 0.003;  // a dip this deep is the period already
int CheckOctave(const std::vector<double> &curve, int lag);

}  // namespace Amdf
