#pragma once

#include <complex>
#include <cstdint>
#include <vector>

#include "HarmonicString.h"
#include "RealFft.h"

namespace Measure {

// A string's pitch as a tuner reads it, its first partial, from the
// partials of a stretch of its sound: each partial's peak in the Hann
// windowed spectrum, interpolated, then the stiff string's series fitted to
// them (HarmonicFit.h). A period read in the time domain follows all the
// partials together, and a stiff string's upper ones lie sharp: on a bass,
// where they carry the sound, by several cents.
//
// The partials are taken from the lowest up, each looked for where the
// series fitted to those below puts it: a bass string's twentieth partial
// lies up to a tenth sharp of twenty times the note, beside the next one.
// A peak that does not stand kClear above the spectrum halfway to its
// neighbours is noise (a room's, or what a microphone's high-pass left of
// the lowest partials) and is left out: picked up high in the series, it
// would bend the fitted stretch and move the first partial by cents.
class PartialRefine {
 public:
  static constexpr int kSize = 8192;          // the transform, the stretch zero-padded to it
  static constexpr double kHighest = 5000.0;  // hertz: partials above are left out
  static constexpr int kMostPartials = 24;
  static constexpr double kClear = 10;  // a partial's power over the spectrum between partials

  PartialRefine();

  // The first partial of the string sounding near `hertz` in x[0…count−1]
  // (count ≤ kSize); false when fewer than two partials stand out or the
  // fit lands more than a third of a semitone away.
  bool Refine(const int16_t *x, int count, double hertz, double *first);

 private:
  struct Reach {
    int from = 0, to = 0;  // bins
  };
  // Where partial n of the note at `hertz` is looked for: near n times it
  // while the partials below cannot tell the string's stretch, else near
  // where `series` (fitted to them) puts it.
  static Reach Where(int n, double hertz, const HarmonicString *series);
  // The highest bin within reach, interpolated; false at the reach's edge
  // or below `floor`.
  bool Peak(Reach reach, double floor, double *at, double *power) const;
  // The spectrum's power `spacing` below and above `at`: where no partial is.
  double Between(double at, double spacing) const;

  RealFft fft_;
  std::vector<double> window_;  // the Hann window of the last stretch's length: mostly the same
  std::vector<double> in_;
  std::vector<std::complex<double>> out_;
  std::vector<double> power_;
};

}  // namespace Measure
