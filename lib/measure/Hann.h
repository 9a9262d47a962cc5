#pragma once

#include <cmath>
#include <numbers>

namespace Measure {

// The Hann window's value at sample t of `count`, symmetric about the
// middle of the stretch ((count − 1) ÷ 2), where it is 1.
inline double Hann(int t, int count) { return 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (t + 0.5) / count); }

}  // namespace Measure
