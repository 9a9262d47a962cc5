#pragma once

#include <array>
#include <string>
#include <vector>

// What the strum check made of some strums against their truth: strings
// that rang, how many went unheard (by string position too), how many
// were read more than 50 cents from the truth, muted strings heard, the
// errors of the rest, strums not found, strums found that were none, and the time from each
// strum to its reading.
struct Tally {
  static constexpr int kPositions = 9;

  int strums = 0, lost = 0, extra = 0, ringing = 0, missed = 0, wrong = 0, muted = 0, mutedHeard = 0, unknown = 0;
  std::array<int, kPositions> ringingAt{}, missedAt{};
  std::vector<double> errors, latencies;

  void Add(const Tally &other);

  double MissedShare() const { return ringing ? 100.0 * missed / ringing : 0; }
  // The largest share missed at any one string position.
  double WorstPosition(int *position) const;
};

double Percentile(std::vector<double> v, double p);

// One line of the report: `label` then the figures.
void PrintRow(const std::string &label, const Tally &t);
void PrintHeader();
