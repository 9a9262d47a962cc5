#pragma once

#include <span>

#include "HarmonicString.h"

namespace Measure {

// One partial read from the spectrum: its number, frequency and weight (the
// inverse variance of its frequency, up to a common factor).
struct PartialMeasure {
  int n = 0;
  double hertz = 0;
  double weight = 0;
};

// Fits f0 and B to measured partials by weighted least squares on
// (f_n ÷ n)² = f0² + f0²·B·n², which is linear in f0² and f0²·B. B is kept
// within [0, kLargestB]; when the partials cannot tell B (fewer than three
// numbers, or all below the fifth) it is held at `priorB`. False when there
// is nothing to fit.
inline constexpr double kLargestB = 5e-4;  // above any guitar string's
bool FitHarmonicString(std::span<const PartialMeasure> partials, double priorB, HarmonicString *fitted);

// f0 alone, B held.
bool FitHeldB(std::span<const PartialMeasure> partials, double b, HarmonicString *fitted);

}  // namespace Measure
