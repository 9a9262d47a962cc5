#include "Score.h"

#include <algorithm>

#include "Random.h"

namespace material {

namespace {

struct Gaps {
  double low, high;
};

Gaps GapsOf(StrumKind kind) {
  switch (kind) {
    case StrumKind::kUp: return {0.015, 0.035};
    case StrumKind::kFast: return {0.0, 0.002};
    case StrumKind::kArpeggio: return {0.060, 0.150};
    default: return {0.020, 0.040};
  }
}

// Which strings ring in strum k; the others are struck muted.
std::vector<bool> Ringing(const StrumPlan &plan, int k, Random &r) {
  const int n = static_cast<int>(plan.notes.size());
  std::vector<bool> ring(n, true);
  if (plan.kind == StrumKind::kAlone) {
    std::fill(ring.begin(), ring.end(), false);
    const int count = 1 + k % 2;
    for (int c = 0; c < count;) {
      const int s = r.Below(n);
      if (!ring[s]) ring[s] = true, ++c;
    }
  } else if (plan.mutes && k % 3 == 2) {
    ring[r.Below(n)] = false;
  }
  return ring;
}

}  // namespace

const char *KindName(StrumKind kind) {
  switch (kind) {
    case StrumKind::kDown: return "down";
    case StrumKind::kUp: return "up";
    case StrumKind::kFast: return "fast";
    case StrumKind::kArpeggio: return "arpeggio";
    case StrumKind::kAlone: return "alone";
  }
  return "";
}

bool ParseKind(const std::string &name, StrumKind *kind) {
  for (StrumKind k : {StrumKind::kDown, StrumKind::kUp, StrumKind::kFast, StrumKind::kArpeggio, StrumKind::kAlone})
    if (name == KindName(k)) return *kind = k, true;
  return false;
}

Score MakeStrums(const StrumPlan &plan, uint64_t seed) {
  Random r(seed);
  Score score;
  score.strings = static_cast<int>(plan.notes.size());
  score.reference = plan.reference;
  const Gaps gaps = GapsOf(plan.kind);
  for (int k = 0; k < plan.strums; ++k) {
    const std::vector<bool> ring = Ringing(plan, k, r);
    const bool upward = plan.kind == StrumKind::kUp || (plan.kind == StrumKind::kFast && k % 2 == 1);
    double at = plan.lead + k * plan.spacing;
    const double accent = r.Uniform(0.75, 1.0);
    for (int j = 0; j < score.strings; ++j) {
      const int s = upward ? score.strings - 1 - j : j;
      Pluck p;
      p.string = s;
      p.midi = plan.notes[s];
      p.cents = plan.detune > 0 ? r.Uniform(-plan.detune, plan.detune) : 0;
      if (static_cast<size_t>(s) < plan.cents.size()) p.cents = plan.cents[s];
      p.time = at;
      p.velocity = accent * r.Uniform(0.8, 1.0) * (ring[s] ? 1.0 : 0.7);
      p.muted = !ring[s];
      p.strum = k;
      score.plucks.push_back(p);
      at += r.Uniform(gaps.low, gaps.high);
    }
  }
  std::stable_sort(score.plucks.begin(), score.plucks.end(),
                   [](const Pluck &a, const Pluck &b) { return a.time < b.time; });
  score.seconds = plan.lead + (plan.strums - 1) * plan.spacing + plan.tail;
  return score;
}

Score MakeNote(int midi, double cents, double seconds, double velocity, double reference) {
  Score score;
  score.strings = 1;
  score.seconds = seconds;
  score.reference = reference;
  score.plucks.push_back({0, midi, cents, 0.3, velocity, false, 0});
  return score;
}

}  // namespace material
