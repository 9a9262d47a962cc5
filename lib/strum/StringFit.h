#pragma once

#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

#include "PartialMask.h"
#include "PeakList.h"
#include "StrumSpectrum.h"
#include "measure/HarmonicFit.h"

namespace Strum {

using Measure::HarmonicString;
using Measure::PartialMeasure;

inline constexpr int kMostPartials = 40;
inline constexpr double kHighestPartial = 4000.0;  // hertz read at most

// The partials that tell a string's pitch: its first three, and for a
// string below C2 every partial under 250 Hz, since a small microphone's
// high-pass leaves a bass's low B nothing below its fifth partial. The
// guitar's strings, C2 and up, keep their first three.
inline constexpr double kLowBand = 250.0;  // hertz
inline int LowPartials(double fundamental) {
  return fundamental > 0 ? std::clamp(static_cast<int>(kLowBand / fundamental), 3, kMostPartials) : 3;
}

// One string read from the spectrum: its harmonic model fitted to the
// partials it alone can have made, and those partials' amplitudes.
struct StringFit {
  HarmonicString model;
  std::vector<PartialMeasure> partials;        // the partials fitted
  std::array<double, kMostPartials + 1> amplitude{};  // by partial number; 0 when not read
  double energy = 0;                            // Σ amplitude² of the partials fitted

  int Count() const { return static_cast<int>(partials.size()); }
  // A string sounds one of its low partials: a "pitch" with none of them
  // read is made of other strings' partials (or of their stretched higher
  // ones).
  bool Convincing() const {
    const int low = LowPartials(model.Fundamental());
    for (int n = 1; n <= low; ++n)
      if (amplitude[n] > 0) return true;
    return ShowsItself();
  }
  // Three partials of its own among its first eight, not all at multiples
  // of one number (a "string" at half another's pitch): a string whose low
  // partials the microphone took or other strings' lie on (a low C's
  // second and third on C3 and G2) shows itself so.
  bool ShowsItself() const { return ShowsItselfWithin(8); }
  bool ShowsItselfWithin(int highest) const {
    int read = 0, divisor = 0;
    for (const PartialMeasure &p : partials)
      if (p.n <= highest) ++read, divisor = std::gcd(divisor, p.n);
    return read >= 3 && divisor == 1;
  }
};

// Fits a string from a candidate pitch: the comb the peaks agree with
// (MatchComb) gives f0 and B; then the partials it predicts are read, up to
// the 16th and then all, and f0 and B fitted to them. A partial within
// `separation` hertz of a masked string's is read by fitting the pair
// (PairFit) when they are far enough apart, else left out; a peak less than
// 12 dB above the floor is left out; partials that stray from the fit more
// than the others do are dropped and the fit redone. False when no partial
// is left.
bool FitString(const StrumSpectrum &spectrum, const PeakList &peaks, double candidate, const PartialMask &mask,
               double separation, StringFit *fit);

// The same from a model already near: its partials read and fitted.
bool RefineString(const StrumSpectrum &spectrum, const HarmonicString &start, const PartialMask &mask,
                  double separation, StringFit *fit);

}  // namespace Strum
