#pragma once

#include <cstdint>
#include <vector>

// The whole-sample period of a stretch of sound by the cumulative mean
// normalised difference (de Cheveigné and Kawahara, "YIN, a fundamental
// frequency estimator for speech and music", JASA 111(4), 2002): the
// squared difference at each lag over its running mean, so that a dip's
// depth reads alike at any level and any period.
namespace Amdf {

inline constexpr int kSearchMinLag = 11;  // 2004 Hz
// A0 (27.5 Hz, 801.8 samples) with room for a string tuned a semitone below.
inline constexpr int kSearchMaxLag = 850;

// out[τ] for τ = 0…maxLag (out[0] = 1) from the squared differences at
// those lags (LagDifferences.h).
void NormalisedDifference(const std::vector<int64_t> &differences, std::vector<double> *out);

// The bottom of the first dip of `curve` below kDeepDip from kSearchMinLag
// on; failing that, of the first dip nearly as deep as the deepest, when
// that one is below kShallowDip. 0 when nothing in the curve is periodic.
// Dips are judged by their interpolated bottoms (DipBottom): on whole lags
// a short period's dip may lie half a lag off and look shallow, where a
// multiple of it lands on a lag.
inline constexpr double kDeepDip = 0.15;
inline constexpr double kShallowDip = 0.4;
int FirstDip(const std::vector<double> &curve);

// The lowest point of `curve` within `reach` lags of `lag` (inside the
// curve, from kSearchMinLag on).
int LowestNear(const std::vector<double> &curve, int lag, int reach);

// The lowest value of the parabola through curve[lag − 1…lag + 1] (lag
// inside the curve), or curve[lag] when no dip bottoms there.
double DipBottom(const std::vector<double> &curve, int lag);

}  // namespace Amdf
