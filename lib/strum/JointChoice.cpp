#include "JointChoice.h"

#include <algorithm>
#include <cmath>

#include "StringFit.h"

namespace Strum {

namespace {

constexpr double kOptionCeiling = 2000.0;  // hertz: the same span for every string
constexpr int kCountedMissing = 8;         // first partials whose absence counts
constexpr double kMissingForfeit = 30.0;
constexpr int kMostSweeps = 6;
constexpr int kMostRestarts = 3;

using Choice = JointChoice;
using Options = std::span<const std::vector<StringOption>>;

int Count(Options options) { return static_cast<int>(options.size()); }

// Whether string s's choice has one of its own peaks no other chosen string claims.
bool OwnsAPeak(Options options, const Choice &choice, int s) {
  const StringOption &mine = options[s][choice[s]];
  for (int p : mine.ownPeaks) {
    bool shared = false;
    for (int o = 0; o < Count(options) && !shared; ++o)
      if (o != s && choice[o] >= 0)
        for (int q : options[o][choice[o]].peaks) shared |= q == p;
    if (!shared) return true;
  }
  return false;
}

double Explained(Options options, const PeakList &peaks,
                 const Choice &choice) {
  std::vector<char> claims(peaks.peaks.size(), 0);
  for (int s = 0; s < Count(options); ++s)
    if (choice[s] >= 0)
      for (int p : options[s][choice[s]].peaks) ++claims[p];
  double total = 0;
  for (int s = 0; s < Count(options); ++s) {
    if (choice[s] < 0) continue;
    const StringOption &o = options[s][choice[s]];
    // A string whose first partials all lie on other strings' (an octave
    // of a lower string, say) adds nothing of its own here.
    bool own = false;
    for (int p : o.ownPeaks) own |= claims[p] == 1;
    if (!own) return -1e300;
    total -= kMissingForfeit * o.missing;
  }
  for (size_t p = 0; p < claims.size(); ++p)
    if (claims[p]) total += peaks.weights[p];
  return total;
}

// The best option for string s, the others held; true when it changed.
bool Improve(Options options, const PeakList &peaks, int s, Choice *choice) {
  const int before = (*choice)[s];
  double best = -1e300;
  int bestOption = -1;
  for (int o = -1; o < static_cast<int>(options[s].size()); ++o) {
    (*choice)[s] = o;
    const double value = Explained(options, peaks, *choice);
    if (value > best + 1e-9) best = value, bestOption = o;
  }
  (*choice)[s] = bestOption;
  return bestOption != before;
}

// The best change of two strings at once, the others held: a pair of
// pitches that swapped an octave between them (E2 at D3's lower octave, D3
// at E2's upper one) is a trap for changes of one string at a time.
bool ImprovePair(Options options, const PeakList &peaks, Choice *choice) {
  double best = Explained(options, peaks, *choice) + 1e-9;
  Choice bestChoice = *choice;
  for (int a = 0; a < Count(options); ++a)
    for (int b = a + 1; b < Count(options); ++b)
      for (int oa = -1; oa < static_cast<int>(options[a].size()); ++oa)
        for (int ob = -1; ob < static_cast<int>(options[b].size()); ++ob) {
          Choice trial = *choice;
          trial[a] = oa, trial[b] = ob;
          const double value = Explained(options, peaks, trial);
          if (value > best) best = value, bestChoice = trial;
        }
  const bool changed = bestChoice != *choice;
  *choice = bestChoice;
  return changed;
}

// Greedy additions to the strings not chosen (Klapuri's estimate-and-cancel
// order, loudest gain first), then sweeps string by string, and (with
// `pairs`) pair by pair, until nothing improves.
void Complete(Options options, const PeakList &peaks, Choice *choice, bool pairs = true) {
  for (;;) {
    const double now = Explained(options, peaks, *choice);
    double bestGain = 0;
    int bestString = -1, bestOption = -1;
    for (int s = 0; s < Count(options); ++s) {
      if ((*choice)[s] >= 0) continue;
      for (int o = 0; o < static_cast<int>(options[s].size()); ++o) {
        Choice trial = *choice;
        trial[s] = o;
        const double gain = Explained(options, peaks, trial) - now;
        if (gain > bestGain) bestGain = gain, bestString = s, bestOption = o;
      }
    }
    if (bestString < 0) break;
    (*choice)[bestString] = bestOption;
  }
  for (int sweep = 0; sweep < kMostSweeps; ++sweep) {
    bool changed = false;
    for (int s = 0; s < Count(options); ++s) changed |= Improve(options, peaks, s, choice);
    if (!changed && !(pairs && ImprovePair(options, peaks, choice))) break;
  }
}

// One string's option replaced, the strings it leaves without a partial of
// their own dropped, and the rest completed again (string by string; the
// best is then completed pair by pair too): a "string" made of a
// higher one's partials (an E2 at B3's third of a pitch, in drop D) takes
// them from it, and only changing both strings and the ones after them at
// once leaves that trap. True when some replacement explains more.
bool Restart(Options options, const PeakList &peaks, double value, Choice *choice) {
  Choice best = *choice;
  for (int s = 0; s < Count(options); ++s)
    for (int o = 0; o < static_cast<int>(options[s].size()); ++o) {
      if (o == (*choice)[s]) continue;
      Choice trial = *choice;
      trial[s] = o;
      for (int other = 0; other < Count(options); ++other)
        if (other != s && trial[other] >= 0 && !OwnsAPeak(options, trial, other)) trial[other] = -1;
      Complete(options, peaks, &trial, false);
      const double v = Explained(options, peaks, trial);
      if (v > value + 1e-9) value = v, best = trial;
    }
  const bool changed = best != *choice;
  *choice = best;
  return changed;
}

}  // namespace

StringOption MakeOption(const HarmonicString &model, const PeakList &list, double resolution) {
  StringOption option;
  option.model = model;
  option.low = LowPartials(model.Fundamental());
  int below = 0;  // low partials missing beneath the first one found
  std::vector<int> first;  // peaks of the first kCountedMissing partials
  const std::vector<StrumSpectrum::Peak> &peaks = list.peaks;
  for (int n = 1;; ++n) {
    const double partial = model.Partial(n);
    if (partial > kOptionCeiling) break;
    const int above = list.FirstAbove(partial);
    int nearest = -1;
    double distance = 0.6 * resolution + 0.001 * partial;
    for (int i : {above - 1, above}) {
      if (i < 0 || i >= static_cast<int>(peaks.size()) || std::abs(peaks[i].hertz - partial) > distance) continue;
      distance = std::abs(peaks[i].hertz - partial);
      nearest = i;
    }
    if (nearest < 0) {
      option.missing += n <= kCountedMissing;
      option.lowMissing += n <= option.low;
      below += n <= option.low && option.lowPeaks.empty();
    } else {
      option.peaks.push_back(nearest);
      if (n <= kCountedMissing) first.push_back(nearest);
      if (n <= option.low) option.lowPeaks.push_back(nearest);
      option.fundamental |= n == 1;
    }
  }
  // Low partials missing beneath the others, which sound, are what a small
  // microphone's high-pass leaves, not a sign of another sound.
  const bool highPassed = below > 0 && below == option.lowMissing && option.Plausible();
  if (highPassed) option.missing -= std::min(below, kCountedMissing);
  // A string whose fundamental the microphone took may have its low
  // partials on other strings' (a low C's second and third on C3 and G2):
  // what shows it is then a higher partial of its own.
  option.ownPeaks = highPassed ? first : option.lowPeaks;
  return option;
}

JointChoice ChooseJointly(Options options, const PeakList &peaks) {
  Choice choice;
  choice.fill(-1);
  Complete(options, peaks, &choice);
  double value = Explained(options, peaks, choice);
  for (int round = 0; round < kMostRestarts; ++round) {
    Choice best = choice;
    if (!Restart(options, peaks, value, &best)) break;
    choice = best;
    Complete(options, peaks, &choice);
    value = Explained(options, peaks, choice);
  }
  return choice;
}

}  // namespace Strum
