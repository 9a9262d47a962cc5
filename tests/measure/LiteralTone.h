#pragma once

// A slow, literal transcription of the main-tone estimator's rules: sums in
// plain order, one step per rule. The fast estimator must agree with it to
// 1e-9 semitone in every note and exactly in every level and table entry.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace literal {

inline double Note(double f, double ref) { return 69 + 12 * std::log(f / ref) / std::log(2.0); }
inline double Freq(double n, double ref) { return ref * std::pow(2.0, (n - 69) * (1.0 / 12)); }
inline double Round(double x) { return std::floor(x + 0.5); }

inline int16_t Level(const int16_t *x) {
  int64_t s = 0;
  for (int i = 0; i < 500; ++i) s += static_cast<int64_t>(x[i]) * x[i];
  int64_t m = s / 500;
  int64_t r = static_cast<int64_t>(std::trunc(std::sqrt(static_cast<double>(m))));
  if (r < 1) r = 1;
  return static_cast<int16_t>(r > 32767 ? 32767 : r);
}

inline void Table(const int16_t *x, int32_t *d) {
  for (int k = 0; k <= 10; ++k) d[k] = 0;
  for (int k = 11; k <= 499; ++k) {
    int64_t s = 0;
    for (int j = 0; j <= 249; ++j) s += std::abs(x[j + k] - x[j]);
    d[k] = static_cast<int32_t>(s / 250);
  }
}

inline void Weight(int32_t *d, double p, double ref) {
  if (p == 0) {
    for (int k = 0; k < 500; ++k) d[k] = static_cast<int32_t>(std::trunc(0.65 * d[k]));
    return;
  }
  double hi = std::ceil(22050.0 / Freq(p - 2, ref));
  double v = 22050.0 / Freq(p + 2, ref);
  double lo = v > 0 ? std::ceil(v) : 0;
  double end = std::fmin(hi, 500);
  double c = (lo + end) * 0.5;
  if (lo < end)
    for (int k = static_cast<int>(lo); k <= static_cast<int>(end) - 1; ++k) {
      double w = 1 - 0.35 * (1 - std::fabs(k - c) / (c - lo));
      d[k] = static_cast<int32_t>(std::trunc(w * d[k]));
    }
}

inline int Pick(const int32_t *d, bool previous) {
  int64_t sum = 0;
  for (int k = 11; k <= 499; ++k) sum += d[k];
  int64_t m = sum / 489;
  int k = 11;
  bool second = false;
  bool stopped = false;
  for (; k <= 499; ++k) {
    if (!second) {
      if (d[k] > 0.8 * m) second = true;
    } else if (d[k] < 0.75 * m) {
      stopped = true;
      break;
    }
  }
  if (!stopped) return 0;
  int hpos = k;
  for (int i = k; i <= 499; ++i)
    if (d[i] < d[hpos]) hpos = i;
  int64_t h = d[hpos];
  int64_t t = static_cast<int64_t>(std::trunc(h + 0.2 * (m - h)));
  int p = -1;
  int64_t u = 0;
  int k1 = -1;
  for (int i = k; i <= 499; ++i)
    if (d[i] < t) {
      k1 = i;
      break;
    }
  if (k1 >= 0) {
    p = k1;
    u = d[k1];
    for (int i = k1; i <= 499; ++i) {
      if (d[i] < u) {
        p = i;
        u = d[i];
      }
      if (d[i] > m) break;
    }
  } else {
    p = hpos;
    u = t;
  }
  int64_t b = d[p];
  bool ridge = false;
  for (int i = p; i >= 1; --i) {
    if (!ridge) {
      if (d[i] > 0.9 * m) ridge = true;
      continue;
    }
    if (d[i] > b) b = d[i];
    if (d[i] < 0.85 * m) break;
  }
  return b - u < (previous ? 100 : 200) ? 0 : p;
}

inline double E(const int16_t *x, double tau) {
  double n = std::floor(tau);
  double f = tau - n;
  int ni = static_cast<int>(n);
  double s = 0;
  for (int j = 0; j <= 998; ++j) {
    double delayed = x[j + ni] + f * (x[j + ni + 1] - x[j + ni]);
    s += std::fabs(x[j] - delayed);
  }
  return s / 999;
}

inline double Refine(const int16_t *x, int k0) {
  int k = k0 < 1 ? 1 : (k0 > 500 ? 499 : k0);
  double px[3] = {k - 1.0, double(k), k + 1.0};
  double py[3] = {E(x, px[0]), E(x, px[1]), E(x, px[2])};
  int replaced = 0;
  while (true) {
    double x0 = px[0], x1 = px[1], x2 = px[2], y0 = py[0], y1 = py[1], y2 = py[2];
    double a2 = ((y2 - y0) - (y1 - y0) * (x2 - x0) / (x1 - x0)) /
                ((x2 * x2 - x0 * x0) - (x1 * x1 - x0 * x0) * (x2 - x0) / (x1 - x0));
    double a1 = ((y1 - y0) - a2 * (x1 * x1 - x0 * x0)) / (x1 - x0);
    double a0 = y0 - a2 * x0 * x0 - a1 * x0;
    bool ok = a2 > 0 && !std::isnan(a2) && !std::isnan(a1) && !std::isnan(a0);
    if (!ok) break;
    double v = -a1 / (2 * a2);
    if (v < k - 1 || v > k + 1) break;
    if (replaced == 3) return v;
    int near = 0;
    for (int i = 1; i < 3; ++i)
      if (std::fabs(px[i] - v) < std::fabs(px[near] - v)) near = i;
    px[near] = v;
    py[near] = E(x, v);
    ++replaced;
  }
  int low = 0;
  for (int i = 1; i < 3; ++i)
    if (py[i] < py[low]) low = i;
  return px[low];
}

// The whole estimator, state and all.
struct Tone {
  std::vector<int16_t> buffer;
  unsigned hop = 0;
  double heldInt = 0, held = 0;
  int16_t level = 1, earlier = 1;
  double ref = 440;

  double NoteOf(double period) const { return period != 0 ? Note(22050.0 / period, ref) : 0; }

  int Look(const int16_t *x, int16_t lv, bool prevFlag, double prev) {
    if (lv < (prevFlag ? 150 : 400)) return 0;
    int32_t d[500];
    Table(x, d);
    if (prevFlag) Weight(d, prev, ref);
    return Pick(d, prevFlag);
  }

  void Full(const int16_t *x) {
    double prev = NoteOf(held);
    bool had = heldInt != 0;
    int16_t level1 = Level(x);
    int period1 = Look(x, level1, had, prev);
    double fresh = NoteOf(period1);
    double result;
    if (std::fabs(prev - fresh) <= 2.0) {
      result = period1;
    } else {
      bool both = prev != 0 && fresh != 0 && had;
      int16_t level2 = Level(x + 1000);
      int period2 = Look(x + 1000, level2, both, prev);
      double later = NoteOf(period2);
      if (std::fabs(later - prev) < 2.0)
        result = Round(held);
      else if (std::fabs(later - fresh) < 2.0)
        result = (prev != 0 && double(earlier) / level2 >= 1.4) ? 0 : period1;
      else if (prev != 0 && fresh == 0 && later != 0 && double(level2) / level1 >= 2.5)
        result = period2;
      else
        result = 0;
    }
    heldInt = result;
    earlier = level;
    level = level1;
    held = result != 0 ? Refine(x, static_cast<int>(result)) : 0;
  }

  void Process(const int16_t *s, std::vector<double> *out, int16_t *lv) {
    buffer.insert(buffer.end(), s, s + 1000);
    while (buffer.size() > 2000) {
      if (hop == 0)
        Full(buffer.data());
      else if (held != 0)
        held = Refine(buffer.data(), static_cast<int>(Round(held)));
      unsigned interval = held != 0 ? 10 : 5;
      if (++hop >= interval) hop = 0;
      out->push_back(held != 0 ? Note(22050.0 / held, ref) : 0);
      buffer.erase(buffer.begin(), buffer.begin() + 1000);
    }
    *lv = level;
  }
};

}  // namespace literal
