#include "CandidateSearch.h"

#include <algorithm>
#include <cmath>

namespace Strum {

namespace {

constexpr int kSummedPartials = 8;
constexpr double kMiddleB = 1e-4;   // candidates are summed with a middling inharmonicity
constexpr double kStep = 1.0;       // cents between candidates
constexpr double kApart = 15.0;     // cents between the candidates returned

double Salience(const PeakList &list, double resolution, double hertz) {
  double sum = 0;
  for (int n = 1; n <= kSummedPartials; ++n) {
    const double partial = n * hertz * std::sqrt(1 + kMiddleB * n * n);
    // Wide enough for any B of a guitar string at the eighth partial.
    const double tolerance = 0.6 * resolution + 0.75 * kMiddleB * n * n * partial;
    double best = 0;
    // Nearer peaks count more, so that the best pitch lies where the
    // partials are, not anywhere their windows still reach them.
    for (int i = list.FirstAbove(partial - tolerance);
         i < static_cast<int>(list.peaks.size()) && list.peaks[i].hertz <= partial + tolerance; ++i) {
      const double off = (list.peaks[i].hertz - partial) / tolerance;
      best = std::max(best, list.weights[i] * (1 - 0.5 * off * off));
    }
    sum += best;
  }
  return sum;
}

}  // namespace

std::vector<Candidate> FindCandidates(const PeakList &peaks, double resolution, double lowest, double highest) {
  std::vector<Candidate> grid;
  const double ratio = std::pow(2.0, kStep / 1200);
  for (double f = lowest; f < highest; f *= ratio) grid.push_back({f, Salience(peaks, resolution, f)});
  std::vector<Candidate> maxima;
  for (size_t i = 0; i < grid.size(); ++i) {
    const double left = i > 0 ? grid[i - 1].salience : -1, right = i + 1 < grid.size() ? grid[i + 1].salience : -1;
    if (grid[i].salience > 0 && grid[i].salience >= left && grid[i].salience > right) maxima.push_back(grid[i]);
  }
  std::sort(maxima.begin(), maxima.end(), [](const Candidate &a, const Candidate &b) { return a.salience > b.salience; });
  std::vector<Candidate> chosen;
  for (const Candidate &c : maxima) {
    const bool apart = std::all_of(chosen.begin(), chosen.end(), [&](const Candidate &o) {
      return std::abs(1200 * std::log2(c.hertz / o.hertz)) >= kApart;
    });
    if (apart) chosen.push_back(c);
    if (static_cast<int>(chosen.size()) == kMostCandidates) break;
  }
  return chosen;
}

}  // namespace Strum
