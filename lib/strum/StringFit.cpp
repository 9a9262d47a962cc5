#include "StringFit.h"

#include "CombMatch.h"
#include "PairFit.h"

#include <algorithm>
#include <cmath>

namespace Strum {

namespace {

constexpr double kLeastSnr = 4.0;    // a partial stands 12 dB above the floor
constexpr double kWeightCap = 1e4;
constexpr double kBesideWeight = 0.25;
constexpr double kBesideShare = 0.25;
constexpr double kBesideExplains = 0.1;   // beyond 40 dB, mismatch of the model rules
constexpr int kGridPartials = 16;    // that choose B
constexpr int kSupportPartials = 10;
constexpr double kMissingForfeit = 30.0;  // decibels
constexpr double kSupportCeiling = 40.0;

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

// Reads partials 1…highest near the model's (within base hertz, widened
// by `stretch`·n² of the partial for an uncertain B), leaving out those
// another string's partials cover and those too weak to trust.
void ReadPartials(const StrumSpectrum &spectrum, int highest, double base, double stretch, const PartialMask &mask,
                  double separation, bool readBeside, StringFit *fit) {
  fit->partials.clear();
  fit->amplitude.fill(0);
  fit->support = 0;
  for (int n = 1; n <= highest; ++n) {
    const double partial = fit->model.Partial(n);
    if (partial > kHighestPartial) break;
    const std::vector<PartialMask::Hit> hits = mask.HitsNear(partial, separation);
    if (!hits.empty()) {
      if (readBeside && hits.size() == 1) ReadBeside(spectrum, n, hits.front().hertz, base, fit);
      continue;
    }
    StrumSpectrum::Peak peak;
    const bool found = spectrum.NearestPeak(partial, base + (stretch * n * n + 0.0005) * partial, kLeastSnr, &peak);
    const double snr = found ? Snr(spectrum, peak) : 0;
    if (n <= kSupportPartials)
      fit->support += snr < kLeastSnr ? -kMissingForfeit : std::min(20 * std::log10(snr), kSupportCeiling);
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
  const double resolution = spectrum.Resolution();
  fit->model = start;
  for (int highest : {kGridPartials, kMostPartials}) {
    ReadPartials(spectrum, highest, 0.3 * resolution, 0, mask, separation, true, fit);
    if (!Refit(spectrum, fit)) return false;
  }
  Summarise(fit);
  return true;
}

}  // namespace Strum
