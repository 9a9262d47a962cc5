#include "PeriodChoice.h"

#include <cmath>
#include <cstdlib>

#include "MidiTypes.h"
#include "base/SoundFormat.h"

namespace Amdf {
namespace {

int64_t TableMean(const Table d) {
  int64_t sum = 0;
  for (int k = kMinLag; k < kTableSize; ++k) sum += d[k];
  return sum / (kTableSize - kMinLag);
}

// Start of the first real dip: past the first entry above 0.8 m, the first
// entry below 0.75 m; kTableSize when there is none.
int FirstDip(const Table d, int64_t m) {
  int k = kMinLag;
  while (k < kTableSize && d[k] <= 0.8 * m) ++k;
  for (++k; k < kTableSize; ++k)
    if (d[k] < 0.75 * m) return k;
  return kTableSize;
}

// Highest entry of the ridge before the dip at p, starting from D[p].
int32_t RidgeBefore(const Table d, int p, int64_t m) {
  int32_t b = d[p];
  int i = p;
  while (i >= 1 && !(d[i] > 0.9 * m)) --i;  // climb to the ridge
  for (--i; i >= 1; --i) {
    if (d[i] > b) b = d[i];
    if (d[i] < 0.85 * m) break;
  }
  return b;
}

}  // namespace

void WeightAround(Table table, double previousNote, double reference) {
  if (previousNote == 0) {
    for (int k = 0; k < kTableSize; ++k) table[k] = static_cast<int32_t>(std::trunc(0.65 * table[k]));
    return;
  }
  const double hi = std::ceil(drovane::kSampleRate / FrequencyFromNote(previousNote - 2, reference));
  const double v = drovane::kSampleRate / FrequencyFromNote(previousNote + 2, reference);
  const double lo = v > 0 ? std::ceil(v) : 0;
  // Written so that NaN bounds (an absurd reference) stay inside the table.
  const double end = hi < kTableSize ? hi : kTableSize;
  if (!(lo < end)) return;
  const double c = (lo + end) * 0.5;
  for (int k = static_cast<int>(lo); k < end; ++k) {
    const double w = 1 - 0.35 * (1 - std::fabs(k - c) / (c - lo));
    table[k] = static_cast<int32_t>(std::trunc(w * table[k]));
  }
}

int PickPeriod(const Table d, bool hadPrevious) {
  const int64_t m = TableMean(d);
  const int start = FirstDip(d, m);
  if (start >= kTableSize) return 0;

  int lowest = start;
  for (int k = start + 1; k < kTableSize; ++k)
    if (d[k] < d[lowest]) lowest = k;
  const int64_t h = d[lowest];
  const int64_t t = static_cast<int64_t>(std::trunc(h + 0.2 * (m - h)));

  int p = lowest;
  int64_t u = t;
  int k1 = start;
  while (k1 < kTableSize && !(d[k1] < t)) ++k1;
  if (k1 < kTableSize) {
    p = k1;
    u = d[k1];
    // Down to the bottom of this dip, so a multiple of the period is not chosen.
    for (int i = k1; i < kTableSize; ++i) {
      if (d[i] < u) {
        p = i;
        u = d[i];
      }
      if (d[i] > m) break;
    }
  }

  const int32_t b = RidgeBefore(d, p, m);
  return b - u < (hadPrevious ? 100 : 200) ? 0 : p;
}

}  // namespace Amdf
