#pragma once

#include <cmath>

namespace Measure {

// A string's partials: f_n = n·f0·√(1 + B·n²), a stiff string's stretched
// harmonic series (Fletcher, "Normal vibration frequencies of a stiff piano
// string", JASA 36(1), 1964). B is the string's inharmonicity, about 1e-5
// to 3e-4 on a guitar.
struct HarmonicString {
  double f0 = 0;  // hertz of the ideal (unstretched) fundamental
  double b = 0;   // inharmonicity

  double Partial(int n) const { return n * f0 * std::sqrt(1 + b * n * n); }

  // The first partial: the string's pitch as a tuner reads it.
  double Fundamental() const { return Partial(1); }
};

}  // namespace Measure
