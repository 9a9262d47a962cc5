#pragma once

#include <array>
#include <span>
#include <vector>

#include "PeakList.h"
#include "measure/HarmonicString.h"
#include "measure/Tuning.h"

namespace Strum {

using Measure::HarmonicString;

// One pitch a string might have, with the spectrum's peaks its first
// partials fall on and the number of those partials that find no peak. Its
// low partials are the first three, or more for a bass string
// (LowPartials).
struct StringOption {
  HarmonicString model;
  std::vector<int> peaks;     // indices into the peak list
  std::vector<int> lowPeaks;  // those of the low partials
  std::vector<int> ownPeaks;  // where the string may show a partial of its own
  int missing = 0;
  int low = 3;             // low partials
  int lowMissing = 0;      // of the low partials
  bool fundamental = false;

  // A string sounds two of its first three partials, or, a bass string,
  // three of its low partials (its fundamental need not be one: a small
  // microphone's high-pass takes most of a low E's);
  // a pitch that lacks them is made of other strings' partials (B3's sound
  // seen from a third of its pitch, E4's from half of it, A2's fifth
  // partial from half of that).
  bool Plausible() const { return lowMissing <= 1 || (low > 3 && low - lowMissing >= 3); }
};

// The option's partials up to 2 kHz matched to the nearest peaks; the
// first eight count as missing when no peak is near, but for a fundamental
// beneath a second and third partial that both sound.
StringOption MakeOption(const HarmonicString &model, const PeakList &peaks, double resolution);

// Picks for each string one of its options, or none (−1), so that together
// they explain as much peak weight as they can, a peak shared by several
// counting once, less a forfeit for each predicted partial missing; each
// string chosen must have one of its first three partials to itself. A
// string adds itself only by explaining peaks no other string explains, so
// a muted string's pitch made of other strings' partials stays out, and a
// pair of pitches that swap an octave between them loses to the true pair.
// Greedy additions (Klapuri's estimate-and-cancel order, loudest gain
// first), then sweeps string by string until nothing improves. One list
// of options per string of the tuning; the choices past them are −1.
using JointChoice = std::array<int, Measure::Tuning::kMostStrings>;
JointChoice ChooseJointly(std::span<const std::vector<StringOption>> options, const PeakList &peaks);

}  // namespace Strum
