#include "PeakList.h"

#include <algorithm>
#include <cmath>

#include "StringFit.h"

namespace Strum {

namespace {

constexpr double kLeastSnr = 4.0;
constexpr double kWeightCeiling = 40.0;

}  // namespace

void PeakList::Read(const StrumSpectrum &spectrum) {
  peaks = spectrum.Peaks(kHighestPartial, kLeastSnr);
  weights.resize(peaks.size());
  for (size_t i = 0; i < peaks.size(); ++i)
    weights[i] = std::min(20 * std::log10(peaks[i].amplitude / spectrum.Floor(peaks[i].hertz)), kWeightCeiling);
}

int PeakList::FirstAbove(double hertz) const {
  return static_cast<int>(
      std::lower_bound(peaks.begin(), peaks.end(), hertz,
                       [](const StrumSpectrum::Peak &p, double f) { return p.hertz < f; }) -
      peaks.begin());
}

}  // namespace Strum
