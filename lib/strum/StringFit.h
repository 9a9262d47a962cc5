#pragma once

#include <array>
#include <vector>

#include "HarmonicFit.h"
#include "PartialMask.h"
#include "StrumSpectrum.h"

namespace Strum {

inline constexpr int kMostPartials = 40;
inline constexpr double kHighestPartial = 4000.0;  // hertz read at most

// One string read from the spectrum: its harmonic model fitted to the
// partials it alone can have made, and those partials' amplitudes.
struct StringFit {
  HarmonicString model;
  std::vector<PartialMeasure> partials;        // the partials fitted
  std::array<double, kMostPartials + 1> amplitude{};  // by partial number; 0 when not read
  double energy = 0;                            // Σ amplitude² of the partials fitted
  // How well the first partials bear the pitch out: decibels above the floor
  // of those present, less a forfeit for each one missing, so that a pitch
  // made of other strings' partials (missing its own odd ones) loses.
  double support = 0;

  int Count() const { return static_cast<int>(partials.size()); }
};

// Grows a fit from a candidate pitch: the first partials near a middling
// inharmonicity, then ever higher ones predicted by the fit so far, leaving
// out every partial within `separation` hertz of a masked string's and every
// peak less than 12 dB above the floor; partials that stray from the final
// fit by more than a quarter of the window's resolution are dropped and the
// fit is redone. False when no partial is left.
bool FitString(const StrumSpectrum &spectrum, double candidate, const PartialMask &mask, double separation,
               StringFit *fit);

}  // namespace Strum
