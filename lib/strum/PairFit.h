#pragma once

#include "StrumSpectrum.h"

namespace Strum {

struct PairFit {
  double hertz = 0;           // the partial sought
  double amplitude = 0;       // its amplitude, sample units
  double knownAmplitude = 0;  // that of the partial beside it
  double explained = 0;       // share of the bins' energy the second sinusoid adds to the first's
};

// Reads a partial that lies too close to another string's to show a peak of
// its own, but not on it: two sinusoids, one at the known frequency, one
// sought within guess ± reach, fitted together to the centred bins around
// them in the window's exact shape, their complex amplitudes by least
// squares for each trial frequency (variable projection: Golub and
// Pereyra, SIAM J. Numer. Anal. 10(2), 1973). False when the two cannot be
// told apart (closer than kClosest resolutions), or when the best fit lies
// at the edge of the reach (something else was found).
inline constexpr double kClosest = 0.7;
bool FitBeside(const StrumSpectrum &spectrum, double known, double guess, double reach, PairFit *fit);

}  // namespace Strum
