#pragma once

#include <array>

#include "measure/Tuning.h"

namespace Strum {

// Where each string is looked for, as fractional MIDI notes: up to two
// semitones either side of its target, but never past half-way to the
// nearest other target, so that no two strings look at the same pitch and a
// string that is far off is still named by the note nearest to it.
// Strings tuned to the same note share one range. Entries past the
// tuning's strings are empty.
struct SearchRange {
  double lowest = 0;   // inclusive
  double highest = 0;  // exclusive
};

inline constexpr double kWidestReach = 2.0;  // semitones

std::array<SearchRange, Measure::Tuning::kMostStrings> MakeSearchRanges(const Measure::Tuning &tuning);

}  // namespace Strum
