#pragma once

#include <vector>

namespace Amdf {

// The period to take for a dip found at `lag` of a normalised difference
// curve (PeriodSearch.h): twice the lag, again and again, while the curve
// dips clearly deeper there. A string heard with little fundamental (a bass
// through a small speaker, a microphone's high-pass) sounds much like its
// octave: its even partials repeat at half the period, only the weaker odd
// ones tell the whole one. The doubled lag must lie within the curve. Dips
// are compared at their interpolated bottoms: on whole lags a short period's
// dip lies up to half a lag off, its double's nearer one, and looks deeper.
// Only periods doubled to kLeastDoubled or more are: higher notes keep
// their fundamental wherever they are heard.
inline constexpr double kDeeperBy = 0.3;   // the dip at 2·lag below this share of the one at lag
inline constexpr double kClearDip = 0.003;  // a dip this deep is the period already
inline constexpr int kLeastDoubled = 120;   // lags: 184 Hz
int CheckOctave(const std::vector<double> &curve, int lag);

// A half or a third of the lag, again and again, while the dip there is
// about as deep (within kAsDeep times, or kNearlyNone apart): a period held
// from a note's attack, or doubled then, once its part repeats as well.
inline constexpr double kAsDeep = 1.2;
inline constexpr double kNearlyNone = 0.001;
int ShortestAsDeep(const std::vector<double> &curve, int lag);

// Whether a dip at `lag` stands clearly deeper than any at a half or a
// third of it. A sampled string's attack may repeat better at two or three
// periods than at one for a few hundredths of a second; until the period
// itself dips kClearer times as deep as those, the lag is not taken.
inline constexpr double kClearer = 3.0;
bool ClearOfShorter(const std::vector<double> &curve, int lag);

}  // namespace Amdf
