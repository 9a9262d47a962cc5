#include "PartialMask.h"

#include <cmath>

namespace Strum {

std::vector<PartialMask::Hit> PartialMask::HitsNear(double hertz, double width) const {
  std::vector<Hit> hits;
  for (size_t i = 0; i < strings_.size(); ++i) {
    const HarmonicString &s = strings_[i];
    if (!(s.f0 > 0)) continue;
    // Stretching only raises partials, so the nearest one is at or below the
    // harmonic guess; look one either side of it.
    const int guess = static_cast<int>(std::lround(hertz / s.f0));
    for (int n = std::max(1, guess - 1); n <= guess + 1; ++n) {
      if (std::abs(s.Partial(n) - hertz) < width) {
        hits.push_back({static_cast<int>(i), n, s.Partial(n)});
        break;
      }
    }
  }
  return hits;
}

bool PartialMask::Covers(double hertz, double width) const { return !HitsNear(hertz, width).empty(); }

}  // namespace Strum
