#pragma once

// A slow, literal transcription of the main-tone estimator's kernels (level,
// coarse table, weighting, period choice, refinement): sums in plain order,
// one step per rule, as the independent check on the vectorised ones, which
// must agree with it exactly in every level and table entry and to 1e-9
// semitone in every refined period. The estimator's state machine is checked
// by its behaviour instead.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace literal {

inline double Freq(double n, double ref) { return ref * std::pow(2.0, (n - 69) * (1.0 / 12)); }

inline int16_t Level(const int16_t *x) {
  int64_t s = 0;
  for (int i = 0; i < 500; ++i) s += static_cast<int64_t>(x[i]) * x[i];
  const auto r = static_cast<int64_t>(std::trunc(std::sqrt(static_cast<double>(s / 500))));
  return static_cast<int16_t>(std::clamp<int64_t>(r, 1, 32767));
}

// Entries 0…10 are 0; entry k is the mean |x[j + k] − x[j]| over j = 0…249.
inline void Table(const int16_t *x, int32_t *d) {
  for (int k = 0; k < 500; ++k) {
    int64_t s = 0;
    for (int j = 0; k > 10 && j <= 249; ++j) s += std::abs(x[j + k] - x[j]);
    d[k] = static_cast<int32_t>(s / 250);
  }
}

inline void Weight(int32_t *d, double p, double ref) {
  if (p == 0) {
    for (int k = 0; k < 500; ++k) d[k] = static_cast<int32_t>(std::trunc(0.65 * d[k]));
    return;
  }
  const double hi = std::ceil(22050.0 / Freq(p - 2, ref)), v = 22050.0 / Freq(p + 2, ref);
  const double lo = v > 0 ? std::ceil(v) : 0, end = std::fmin(hi, 500), c = (lo + end) * 0.5;
  if (lo < end)
    for (int k = static_cast<int>(lo); k <= static_cast<int>(end) - 1; ++k)
      d[k] = static_cast<int32_t>(std::trunc((1 - 0.35 * (1 - std::fabs(k - c) / (c - lo))) * d[k]));
}

inline int Pick(const int32_t *d, bool previous) {
  int64_t sum = 0;
  for (int k = 11; k <= 499; ++k) sum += d[k];
  const int64_t m = sum / 489;
  // First fall below 0.75 m after a rise above 0.8 m.
  int k = 11;
  bool risen = false;
  for (; k <= 499 && !(risen && d[k] < 0.75 * m); ++k) risen = risen || d[k] > 0.8 * m;
  if (k > 499) return 0;
  int hpos = k;
  for (int i = k; i <= 499; ++i)
    if (d[i] < d[hpos]) hpos = i;
  const int64_t h = d[hpos], t = static_cast<int64_t>(std::trunc(h + 0.2 * (m - h)));
  int p = hpos, k1 = k;
  int64_t u = t;
  while (k1 <= 499 && d[k1] >= t) ++k1;
  if (k1 <= 499) {
    p = k1;
    u = d[k1];
    for (int i = k1; i <= 499; ++i) {
      if (d[i] < u) p = i, u = d[i];
      if (d[i] > m) break;
    }
  }
  // The highest entry back to the ridge before the dip.
  int64_t b = d[p];
  bool ridge = false;
  for (int i = p; i >= 1; --i) {
    if (!ridge) {
      ridge = d[i] > 0.9 * m;
      continue;
    }
    b = std::max<int64_t>(b, d[i]);
    if (d[i] < 0.85 * m) break;
  }
  return b - u < (previous ? 100 : 200) ? 0 : p;
}

inline double E(const int16_t *x, double tau) {
  const int n = static_cast<int>(std::floor(tau));
  const double f = tau - std::floor(tau);
  double s = 0;
  for (int j = 0; j <= 998; ++j) s += std::fabs(x[j] - (x[j + n] + f * (x[j + n + 1] - x[j + n])));
  return s / 999;
}

inline double Refine(const int16_t *x, int k0) {
  const int k = k0 < 1 ? 1 : (k0 > 500 ? 499 : k0);
  double px[3] = {k - 1.0, double(k), k + 1.0};
  double py[3] = {E(x, px[0]), E(x, px[1]), E(x, px[2])};
  for (int replaced = 0;; ++replaced) {
    const double x0 = px[0], x1 = px[1], x2 = px[2], y0 = py[0], y1 = py[1], y2 = py[2];
    const double a2 = ((y2 - y0) - (y1 - y0) * (x2 - x0) / (x1 - x0)) /
                      ((x2 * x2 - x0 * x0) - (x1 * x1 - x0 * x0) * (x2 - x0) / (x1 - x0));
    const double a1 = ((y1 - y0) - a2 * (x1 * x1 - x0 * x0)) / (x1 - x0);
    const double a0 = y0 - a2 * x0 * x0 - a1 * x0;
    if (!(a2 > 0) || std::isnan(a1) || std::isnan(a0)) break;
    const double v = -a1 / (2 * a2);
    if (v < k - 1 || v > k + 1) break;
    if (replaced == 3) return v;
    int near = 0;
    for (int i = 1; i < 3; ++i)
      if (std::fabs(px[i] - v) < std::fabs(px[near] - v)) near = i;
    px[near] = v;
    py[near] = E(x, v);
  }
  return px[std::min_element(py, py + 3) - py];
}

}  // namespace literal
