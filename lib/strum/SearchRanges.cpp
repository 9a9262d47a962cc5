#include "SearchRanges.h"

#include <algorithm>

namespace Strum {

std::array<SearchRange, Measure::Tuning::kMostStrings> MakeSearchRanges(const Measure::Tuning &tuning) {
  std::array<SearchRange, Measure::Tuning::kMostStrings> ranges{};
  for (size_t s = 0; s < tuning.Strings(); ++s) {
    const double target = tuning.notes[s];
    double below = target - kWidestReach, above = target + kWidestReach;
    for (int other : tuning.notes) {
      if (other < target) below = std::max(below, 0.5 * (target + other));
      if (other > target) above = std::min(above, 0.5 * (target + other));
    }
    ranges[s] = {below, above};
  }
  return ranges;
}

}  // namespace Strum
