#include "Confidence.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Strum {

namespace {

constexpr double kFullSnr = 10.0;       // a partial 20 dB above the floor is full evidence
constexpr double kEvidenceScale = 1.5;  // partials of full evidence for 1 − 1/e
constexpr double kBias = 0.05;          // of a resolution: what the model and interpolation leave, whatever the height
constexpr double kSpread = 0.3;         // of a resolution, at a peak 0 dB above the floor
constexpr double kLooseResidual = 6.0;  // residuals of six deviations halve the confidence
constexpr double kGhost = 0.2;          // a pitch heard only at multiples of some partial
constexpr int kFirstPartials = 6;       // where a string shows two partials standing clear…
constexpr double kClearSnr = 10.0;      // …20 dB above the floor…
constexpr double kLowShare = 0.25;      // …and holding this much of its energy
constexpr double kOffShare = 0.05;      // of a fit's energy, off the multiples of 2 (or 3) at least

// The greatest common divisor of the partial numbers read: 2 or more for a
// "string" seen at a fraction of another's pitch (E2 read at half a D3).
int CommonDivisor(const StringFit &fit) {
  int divisor = 0;
  for (const PartialMeasure &p : fit.partials) divisor = std::gcd(divisor, p.n);
  return divisor;
}

}  // namespace

double Evidence(const StringFit &fit) {
  double evidence = 0;
  for (const PartialMeasure &p : fit.partials) evidence += std::min(1.0, std::sqrt(std::max(p.weight, 0.0)) / kFullSnr);
  return evidence;
}

double FitConfidence(const StringFit &fit, double resolution, bool apart) {
  if (fit.partials.empty() || !(resolution > 0)) return 0;
  double squares = 0, weights = 0;
  int lowest = kMostPartials;
  for (const PartialMeasure &p : fit.partials) {
    const double snr = std::sqrt(std::max(p.weight, 0.0));
    const double deviation = resolution * (kBias + kSpread / std::max(snr, 1.0));
    const double z = (p.hertz - fit.model.Partial(p.n)) / deviation;
    squares += z * z, weights += 1;
    lowest = std::min(lowest, p.n);
  }
  const double many = 1 - std::exp(-Evidence(fit) / kEvidenceScale);
  const double residual = std::sqrt(squares / weights) / kLooseResidual;
  const double agree = 1 / (1 + residual * residual);
  const int low = LowPartials(fit.model.Fundamental());
  const double anchored = lowest <= low || apart ? 1.0 : lowest <= low + 2 ? 0.8 : 0.5;
  const double whole = CommonDivisor(fit) >= 2 ? kGhost : 1.0;
  return std::clamp(many * agree * anchored * whole, 0.0, 1.0);
}

bool StandsClear(const StringFit &fit) {
  const int first = std::max(kFirstPartials, LowPartials(fit.model.Fundamental()));
  int clear = 0;
  double low = 0, all = 0;
  for (const PartialMeasure &p : fit.partials) {
    clear += p.n <= first && std::sqrt(std::max(p.weight, 0.0)) >= kClearSnr;
    const double energy = fit.amplitude[p.n] * fit.amplitude[p.n];
    low += p.n <= first ? energy : 0;
    all += energy;
  }
  return clear >= 2 && low >= kLowShare * all;
}

bool AtMultiplesOnly(const StringFit &fit) {
  for (int d : {2, 3}) {
    double off = 0, all = 0;
    for (const PartialMeasure &p : fit.partials) {
      const double energy = fit.amplitude[p.n] * fit.amplitude[p.n];
      off += p.n % d ? energy : 0;
      all += energy;
    }
    if (all > 0 && off < kOffShare * all) return true;
  }
  return false;
}

}  // namespace Strum
