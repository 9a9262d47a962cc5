#pragma once

#include <cmath>

// Display rounding of the tuner, floor(x + 0.5), and truncation toward zero,
// to int. Values no pixel or note can have (a degenerate layout, a pitch
// that is not a number) give 0 instead of overflowing.
namespace Rounding {

inline bool Fits(double x) { return x > -1e9 && x < 1e9; }
inline int Nearest(double x) { return Fits(x) ? static_cast<int>(std::floor(x + 0.5)) : 0; }
inline int Trunc(double x) { return Fits(x) ? static_cast<int>(x) : 0; }
// To one decimal, as the screen shows cents: floor(10x + 0.5) / 10, and 0
// (never -0, which prints as "-0.0") for what rounds to nothing.
inline double Tenths(double x) {
  const double tenths = Fits(x) ? std::floor(x * 10 + 0.5) : 0;
  return tenths == 0 ? 0.0 : tenths / 10;
}

}  // namespace Rounding
