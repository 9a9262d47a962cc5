#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "RealFft.h"

namespace Measure {

// A string's pitch as a tuner reads it, its first partial, from the
// partials of a stretch of its sound: each partial's peak in the Hann
// windowed spectrum, interpolated, then the stiff string's series fitted to
// them (HarmonicFit.h). A period read in the time domain follows all the
// partials together, and a stiff string's upper ones lie sharp: on a bass,
// where they carry the sound, by several cents.
class PartialRefine {
 public:
  static constexpr int kSize = 8192;          // the transform, the stretch zero-padded to it
  static constexpr double kHighest = 5000.0;  // hertz: partials above are left out
  static constexpr int kMostPartials = 24;

  PartialRefine();

  // The first partial of the string sounding near `hertz` in x[0…count−1]
  // (count ≤ kSize); false when fewer than two partials stand out or the
  // fit lands more than a third of a semitone away.
  bool Refine(const int16_t *x, int count, double hertz, double *first);

 private:
  bool Peak(double hertz, int n, double floor, double *at, double *power) const;

  RealFft fft_;
  std::vector<double> window_;  // the Hann window of the last stretch's length: mostly the same
  std::vector<double> in_;
  std::vector<std::complex<double>> out_;
  std::vector<double> power_;
};

}  // namespace Measure
