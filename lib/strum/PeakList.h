#pragma once

#include <vector>

#include "StrumSpectrum.h"

namespace Strum {

// The peaks of a strum's spectrum that candidates and options are weighed
// against: every local maximum up to the highest partial read that stands
// 12 dB above the floor, lowest first, each weighted by its height above
// the floor in decibels (at most 40, so that no one partial decides alone).
struct PeakList {
  std::vector<StrumSpectrum::Peak> peaks;
  std::vector<double> weights;

  void Read(const StrumSpectrum &spectrum);

  // Index of the first peak at or above hertz (peaks.size() when none).
  int FirstAbove(double hertz) const;
};

}  // namespace Strum
