#pragma once

#include <vector>

#include "PeakList.h"

namespace Strum {

struct Candidate {
  double hertz = 0;
  double salience = 0;
};

// Pitches in [lowest, highest) hertz whose first harmonics stand out of the
// spectrum, by harmonic summation: the sum over the first eight partials of
// how far the strongest peak near each stands above the floor, in decibels,
// less as the peak lies further from the partial (Klapuri, "Multiple
// fundamental frequency estimation by summing harmonic amplitudes", ISMIR
// 2006, with a log magnitude in place of his weights). At most
// kMostCandidates, strongest first, at least 15 cents apart (a string 12
// cents sharp is not lost to a stronger pitch beside it). `resolution`
// is the spectrum's.
inline constexpr int kMostCandidates = 4;
std::vector<Candidate> FindCandidates(const PeakList &peaks, double resolution, double lowest, double highest);

}  // namespace Strum
