#include "ResidualSearch.h"

#include <algorithm>
#include <cmath>

#include "CandidateSearch.h"

namespace Strum {

namespace {

constexpr double kSidelobe = 10.0;      // a Hann window's sidelobes lie 31 dB down and less: 20 dB is one
constexpr double kSidelobeReach = 6.0;  // resolutions: the sidelobes that still stand above a quiet floor

// Whether peak i is the window's sidelobe of a peak near it that an
// explained partial made.
bool Sidelobe(const PeakList &peaks, const std::vector<char> &theirs, size_t i, double reach) {
  for (size_t j = i > 8 ? i - 8 : 0; j < std::min(peaks.peaks.size(), i + 9); ++j)
    if (theirs[j] && std::abs(peaks.peaks[j].hertz - peaks.peaks[i].hertz) < reach &&
        peaks.peaks[j].amplitude > kSidelobe * peaks.peaks[i].amplitude)
      return true;
  return false;
}

// Whether the fit shows itself (StringFit::ShowsItself) in the peaks left:
// partials it read from a sidelobe of another string's do not count.
bool ShowsInLeft(const StringFit &fit, const PeakList &left, double tolerance) {
  StringFit own;
  for (const PartialMeasure &p : fit.partials) {
    const int i = left.FirstAbove(p.hertz - tolerance);
    if (i < static_cast<int>(left.peaks.size()) && left.peaks[i].hertz <= p.hertz + tolerance) own.partials.push_back(p);
  }
  return own.ShowsItself();
}

}  // namespace

PeakList Unexplained(const PeakList &peaks, const PartialMask &explained, double width, double reach) {
  std::vector<char> theirs(peaks.peaks.size());
  for (size_t i = 0; i < peaks.peaks.size(); ++i) theirs[i] = explained.Covers(peaks.peaks[i].hertz, width);
  PeakList left;
  for (size_t i = 0; i < peaks.peaks.size(); ++i) {
    if (theirs[i] || Sidelobe(peaks, theirs, i, reach)) continue;
    left.peaks.push_back(peaks.peaks[i]);
    left.weights.push_back(peaks.weights[i]);
  }
  return left;
}

std::vector<StringFit> SearchResidual(const StrumSpectrum &spectrum, const PeakList &peaks,
                                      const PartialMask &explained, double width, double separation, double lowest,
                                      double highest) {
  const PeakList left = Unexplained(peaks, explained, width, kSidelobeReach * spectrum.Resolution());
  std::vector<StringFit> fits;
  StringFit fit;
  for (const Candidate &c : FindCandidates(left, spectrum.Resolution(), lowest, highest)) {
    if (!FitString(spectrum, left, c.hertz, explained, separation, &fit)) continue;
    const double f0 = fit.model.Fundamental();
    if (f0 >= lowest && f0 < highest && ShowsInLeft(fit, left, width)) fits.push_back(fit);
  }
  return fits;
}

}  // namespace Strum
