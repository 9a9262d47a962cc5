#include "AccuracyTally.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

void Tally::Add(const Tally &o) {
  strums += o.strums, lost += o.lost, extra += o.extra, ringing += o.ringing, missed += o.missed, wrong += o.wrong;
  muted += o.muted, mutedHeard += o.mutedHeard, unknown += o.unknown;
  for (int p = 0; p < kPositions; ++p) ringingAt[p] += o.ringingAt[p], missedAt[p] += o.missedAt[p];
  errors.insert(errors.end(), o.errors.begin(), o.errors.end());
  latencies.insert(latencies.end(), o.latencies.begin(), o.latencies.end());
}

double Tally::WorstPosition(int *position) const {
  double worst = 0;
  *position = 0;
  for (int p = 0; p < kPositions; ++p) {
    const double share = ringingAt[p] ? 100.0 * missedAt[p] / ringingAt[p] : 0;
    if (share > worst) worst = share, *position = p + 1;
  }
  return worst;
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return NAN;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

void PrintHeader() {
  std::printf("%-34s %6s %5s %6s %7s %5s %7s %7s %7s %5s  %s\n", "set", "strums", "lost", "extra", "strings", "miss%", "wrong",
              "muted", "median", "p95", "missed % by string 1-9 ('-': none rang)");
}

void PrintRow(const std::string &label, const Tally &t) {
  char muted[32], positions[96] = "";
  std::snprintf(muted, sizeof muted, "%d/%d", t.mutedHeard, t.muted);
  for (int p = 0; p < Tally::kPositions; ++p) {
    char one[16];
    if (t.ringingAt[p] == 0) std::snprintf(one, sizeof one, p ? " %4s" : "%4s", "-");
    else std::snprintf(one, sizeof one, p ? " %4.0f" : "%4.0f", 100.0 * t.missedAt[p] / t.ringingAt[p]);
    std::strncat(positions, one, sizeof positions - std::strlen(positions) - 1);
  }
  std::printf("%-34s %6d %5d %6d %7d %5.1f %7d %7s %7.3f %5.2f  %s\n", label.c_str(), t.strums, t.lost, t.extra, t.ringing,
              t.MissedShare(), t.wrong, muted, Percentile(t.errors, 0.5), Percentile(t.errors, 0.95), positions);
}
