#include "StringFit.h"

#include <algorithm>
#include <cmath>

#include "CombMatch.h"
#include "PairFit.h"

namespace Strum {

namespace {

constexpr double kLeastSnr = 4.0;         // a partial stands 12 dB above the floor
constexpr double kWeightCap = 1e4;        // beyond 40 dB, mismatch of the model rules
constexpr double kBesideWeight = 0.25;    // a partial read beside another's
constexpr double kBesideShare = 0.25;     // of the other partial's amplitude, at least
constexpr double kBesideExplains = 0.1;   // of the bins' energy, at least
constexpr int kFirstRound = 16;           // partials read before all are
constexpr double kTolerance = 0.3;        // of a resolution, and 0.05% of the partial

double Snr(const StrumSpectrum &spectrum, const StrumSpectrum::Peak &peak) {
  return peak.amplitude / spectrum.Floor(peak.hertz);
}

// A partial close beside another string's, read by fitting the two
// together; it weighs less than one standing alone.
void ReadBeside(const StrumSpectrum &spectrum, int n, double other, double reach, StringFit *fit) {
  PairFit pair;
  if (!FitBeside(spectrum, other, fit->model.Partial(n), reach, &pair)) return;
  const double snr = pair.amplitude / spectrum.Floor(pair.hertz);
  // What a mere mismatch of the other partial's shape (its decay, its drift)
  // leaves is weak beside it and explains little.
  if (snr < kLeastSnr || pair.amplitude < kBesideShare * pair.knownAmplitude || pair.explained < kBesideExplains) return;
  fit->partials.push_back({n, pair.hertz, kBesideWeight * std::min(snr * snr, kWeightCap)});
  fit->amplitude[n] = pair.amplitude;
}

// Reads partials 1…highest near the model's, those beside another
// string's as pairs, leaving out those on another string's and those too
// weak to trust.
void ReadPartials(const StrumSpectrum &spectrum, int highest, const PartialMask &mask, double separation,
                  StringFit *fit) {
  const double base = kTolerance * spectrum.Resolution();
  fit->partials.clear();
  fit->amplitude.fill(0);
  for (int n = 1; n <= highest; ++n) {
    const double partial = fit->model.Partial(n);
    if (partial > kHighestPartial) break;
    const std::vector<PartialMask::Hit> hits = mask.HitsNear(partial, separation);
    if (!hits.empty()) {
      if (hits.size() == 1) ReadBeside(spectrum, n, hits.front().hertz, base, fit);
      continue;
    }
    StrumSpectrum::Peak peak;
    const bool found = spectrum.NearestPeak(partial, base + 0.0005 * partial, kLeastSnr, &peak);
    const double snr = found ? Snr(spectrum, peak) : 0;
    if (snr < kLeastSnr) continue;
    fit->partials.push_back({n, peak.hertz, std::min(snr * snr, kWeightCap)});
    fit->amplitude[n] = peak.amplitude;
  }
}

// Drops partials further from the fit than the spread of the rest allows.
void DropStrays(const StrumSpectrum &spectrum, StringFit *fit) {
  std::vector<double> residuals;
  for (const PartialMeasure &p : fit->partials) residuals.push_back(std::abs(p.hertz - fit->model.Partial(p.n)));
  if (residuals.size() < 3) return;
  std::vector<double> sorted = residuals;
  std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
  const double limit = std::clamp(4 * sorted[sorted.size() / 2], 0.05 * spectrum.Resolution(), 0.25 * spectrum.Resolution());
  size_t i = 0;
  std::erase_if(fit->partials, [&](const PartialMeasure &) { return residuals[i++] > limit; });
}

// Forgets the amplitudes of dropped partials and adds up the rest.
void Summarise(StringFit *fit) {
  std::array<double, kMostPartials + 1> kept{};
  fit->energy = 0;
  for (const PartialMeasure &p : fit->partials) {
    kept[p.n] = fit->amplitude[p.n];
    fit->energy += kept[p.n] * kept[p.n];
  }
  fit->amplitude = kept;
}

bool Refit(const StrumSpectrum &spectrum, StringFit *fit) {
  if (!FitHarmonicString(fit->partials, fit->model.b, &fit->model)) return false;
  DropStrays(spectrum, fit);
  return FitHarmonicString(fit->partials, fit->model.b, &fit->model);
}

}  // namespace

bool FitString(const StrumSpectrum &spectrum, const PeakList &peaks, double candidate, const PartialMask &mask,
               double separation, StringFit *fit) {
  HarmonicString comb;
  if (!MatchComb(peaks, candidate, spectrum.Resolution(), mask, separation, &comb)) return false;
  return RefineString(spectrum, comb, mask, separation, fit);
}

bool RefineString(const StrumSpectrum &spectrum, const HarmonicString &start, const PartialMask &mask,
                  double separation, StringFit *fit) {
  fit->model = start;
  for (int highest : {kFirstRound, kMostPartials}) {
    ReadPartials(spectrum, highest, mask, separation, fit);
    if (!Refit(spectrum, fit)) return false;
  }
  Summarise(fit);
  return true;
}

}  // namespace Strum
