#include "StringFit.h"

#include <algorithm>
#include <cmath>

namespace Strum {

namespace {

constexpr double kStartB = 1e-4;
constexpr double kLeastSnr = 4.0;    // a partial stands 12 dB above the floor
constexpr double kWeightCap = 1e4;   // beyond 40 dB, mismatch of the model rules
constexpr int kFirstPartials = 5;    // read before B is known
constexpr int kGridPartials = 16;    // that choose B
constexpr int kGridSteps = 26;       // B = 0, 2e-5, ... 5e-4
constexpr int kSupportPartials = 10;
constexpr double kMissingForfeit = 30.0;  // decibels
constexpr double kSupportCeiling = 40.0;

double Snr(const StrumSpectrum &spectrum, const StrumSpectrum::Peak &peak) {
  return peak.amplitude / spectrum.Floor(peak.hertz);
}

// Reads partials 1…highest near the model's (within base hertz, widened
// by `stretch`·n² of the partial for an uncertain B), leaving out those
// another string's partials cover and those too weak to trust.
void ReadPartials(const StrumSpectrum &spectrum, int highest, double base, double stretch, const PartialMask &mask,
                  double separation, StringFit *fit) {
  fit->partials.clear();
  fit->amplitude.fill(0);
  fit->support = 0;
  for (int n = 1; n <= highest; ++n) {
    const double partial = fit->model.Partial(n);
    if (partial > kHighestPartial) break;
    if (mask.Covers(partial, separation)) continue;
    StrumSpectrum::Peak peak;
    const bool found = spectrum.PeakNear(partial, base + (stretch * n * n + 0.0005) * partial, &peak);
    const double snr = found ? Snr(spectrum, peak) : 0;
    if (n <= kSupportPartials)
      fit->support += snr < kLeastSnr ? -kMissingForfeit : std::min(20 * std::log10(snr), kSupportCeiling);
    if (snr < kLeastSnr) continue;
    fit->partials.push_back({n, peak.hertz, std::min(snr * snr, kWeightCap)});
    fit->amplitude[n] = peak.amplitude;
  }
}

// The inharmonicity under which the most partial weight lies close to
// where the model puts it, the first partial held where the first
// partials put it.
double ChooseB(const StrumSpectrum &spectrum, const HarmonicString &start, double tolerance) {
  const double first = start.Fundamental();
  double bestB = start.b, bestScore = -1;
  for (int step = 0; step < kGridSteps; ++step) {
    const double b = step * kLargestB / (kGridSteps - 1);
    const HarmonicString model{first / std::sqrt(1 + b), b};
    double score = 0;
    for (int n = 1; n <= kGridPartials && model.Partial(n) <= kHighestPartial; ++n) {
      StrumSpectrum::Peak peak;
      if (spectrum.PeakNear(model.Partial(n), tolerance, &peak))
        score += std::max(0.0, 20 * std::log10(Snr(spectrum, peak)));
    }
    if (score > bestScore) bestScore = score, bestB = b;
  }
  return bestB;
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

bool FitString(const StrumSpectrum &spectrum, double candidate, const PartialMask &mask, double separation,
               StringFit *fit) {
  const double resolution = spectrum.Resolution();
  fit->model = {candidate / std::sqrt(1 + kStartB), kStartB};
  ReadPartials(spectrum, kFirstPartials, 0.6 * resolution + 0.002 * candidate * kFirstPartials, 0, mask, separation,
               fit);
  HarmonicString first;
  if (!FitHeldB(fit->partials, kStartB, &first)) return false;
  const double b = ChooseB(spectrum, first, 0.3 * resolution);
  fit->model = {first.Fundamental() / std::sqrt(1 + b), b};
  for (int highest : {kGridPartials, kMostPartials}) {
    ReadPartials(spectrum, highest, 0.3 * resolution, 0, mask, separation, fit);
    if (!Refit(spectrum, fit)) return false;
  }
  Summarise(fit);
  return true;
}

}  // namespace Strum
