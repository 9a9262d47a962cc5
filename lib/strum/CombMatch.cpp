#include "CombMatch.h"

#include <array>
#include <cmath>
#include <vector>

#include "StringFit.h"
#include "measure/HarmonicFit.h"

namespace Strum {

using Measure::HarmonicString;
using Measure::PartialMeasure;
using Measure::FitHeldB;
using Measure::kLargestB;

namespace {

constexpr int kCombPartials = 12;
constexpr double kReach = 15.0;   // cents the candidate may be off
constexpr int kGridSteps = 26;    // B = 0, 2e-5, ... 5e-4
constexpr double kWithin = 0.3;   // of a resolution
constexpr int kTrialPartials = 3;

struct Vote {
  int n;
  double hertz, weight;
};

std::vector<Vote> CollectVotes(const PeakList &list, double candidate, const PartialMask &mask, double separation) {
  std::vector<Vote> votes;
  const double down = std::pow(2.0, -kReach / 1200), up = 1 / down;
  for (int n = 1; n <= kCombPartials && n * candidate <= kHighestPartial; ++n) {
    const double low = n * candidate * down, high = n * candidate * up * std::sqrt(1 + kLargestB * n * n);
    for (int i = list.FirstAbove(low); i < static_cast<int>(list.peaks.size()) && list.peaks[i].hertz <= high; ++i)
      if (!mask.Covers(list.peaks[i].hertz, separation)) votes.push_back({n, list.peaks[i].hertz, list.weights[i]});
  }
  return votes;
}

// The weight agreeing with f0 under B = b: the best vote of each partial
// whose partial lies within `within` hertz of where (f0, b) puts it.
double Agreement(const std::vector<Vote> &votes, const HarmonicString &model, double within) {
  std::array<double, kCombPartials + 1> best{};
  for (const Vote &v : votes)
    if (std::abs(v.hertz - model.Partial(v.n)) <= within) best[v.n] = std::max(best[v.n], v.weight);
  double sum = 0;
  for (double w : best) sum += w;
  return sum;
}

}  // namespace

bool MatchComb(const PeakList &peaks, double candidate, double resolution, const PartialMask &mask,
               double separation, HarmonicString *model) {
  const std::vector<Vote> votes = CollectVotes(peaks, candidate, mask, separation);
  if (votes.empty()) return false;
  const double within = kWithin * resolution;
  // Trials go through the low partials' votes: a string sounds one of its
  // first three (unless another string's cover them all).
  int lowest = kCombPartials;
  for (const Vote &v : votes) lowest = std::min(lowest, v.n);
  const int through = std::max(lowest, kTrialPartials);
  double bestScore = -1;
  for (int step = 0; step < kGridSteps; ++step) {
    const double b = step * kLargestB / (kGridSteps - 1);
    for (const Vote &v : votes) {
      if (v.n > through) continue;
      const HarmonicString trial{v.hertz / (v.n * std::sqrt(1 + b * v.n * v.n)), b};
      const double score = Agreement(votes, trial, within);
      if (score > bestScore) bestScore = score, *model = trial;
    }
  }
  // f0 from every vote that agrees, weighted as the fit weighs partials.
  std::vector<PartialMeasure> agreeing;
  for (const Vote &v : votes)
    if (std::abs(v.hertz - model->Partial(v.n)) <= within) agreeing.push_back({v.n, v.hertz, v.weight * v.weight});
  return FitHeldB(agreeing, model->b, model);
}

}  // namespace Strum
