#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "LiteralKernels.h"
#include "TestSignals.h"
#include "measure/AmdfRefine.h"
#include "measure/AmdfTable.h"
#include "measure/MidiTypes.h"
#include "measure/PeriodChoice.h"
#include "measure/PreciseRefine.h"

namespace {

using signals::Random;

// Windows of 3000 samples of many kinds: noise of several loudnesses,
// tones, plucks with noise, clipped tones, random values.
std::vector<int16_t> Window(int kind, Random &r) {
  const double f = 45 + 900 * r.Unit();
  std::vector<int16_t> w;
  switch (kind % 5) {
    case 0: w = signals::Noise(r.Next(), 3000, 1 + static_cast<int>(r.Next() % 32767)); break;
    case 1: w = signals::Sine(f, 30000 * r.Unit(), 3000, r.Unit() * 6); break;
    case 2: {
      w = signals::Pluck(f, 30000, 3000, 0.2 + r.Unit());
      const std::vector<int16_t> n = signals::Noise(r.Next(), 3000, 2000);
      for (size_t i = 0; i < w.size(); ++i) w[i] = signals::Clip(w[i] + n[i]);
      break;
    }
    case 3: w = signals::Sine(f, 90000, 3000); break;  // hard clipped
    default:
      w.resize(3000);
      for (int16_t &v : w) v = r.Sample();
  }
  return w;
}

TEST(Amdf, FastKernelsEqualTheLiteralRules) {
  Random r(11);
  for (int trial = 0; trial < 400; ++trial) {
    const std::vector<int16_t> w = Window(trial, r);
    ASSERT_EQ(Amdf::Level(w.data()), literal::Level(w.data())) << trial;
    std::vector<int32_t> fast(500), slow(500);
    Amdf::CoarseTable(w.data(), fast.data());
    literal::Table(w.data(), slow.data());
    ASSERT_EQ(fast, slow) << trial;
    const double prev = trial % 3 == 0 ? 0 : 30 + 60 * r.Unit(), ref = 400 + 80 * r.Unit();
    Amdf::WeightAround(fast.data(), prev, ref);
    literal::Weight(slow.data(), prev, ref);
    ASSERT_EQ(fast, slow) << trial;
    for (bool had : {false, true}) ASSERT_EQ(Amdf::PickPeriod(fast.data(), had), literal::Pick(slow.data(), had)) << trial;
    for (int k0 : {static_cast<int>(r.Next() % 520), static_cast<int>(22050 / (45 + 900 * r.Unit()))}) {
      const double a = Amdf::Refine(w.data(), k0), b = literal::Refine(w.data(), k0);
      if (a == 0 || b == 0)
        ASSERT_EQ(a, b);
      else
        ASSERT_NEAR(NoteFromFrequency(22050 / a, 440), NoteFromFrequency(22050 / b, 440), 1e-9) << trial << " " << k0;
    }
  }
  const std::vector<int16_t> w = signals::Noise(9, 3000);
  for (int i = 0; i < 200; ++i) {
    const double tau = 501 * r.Unit(), a = Amdf::MeanDifference(w.data(), tau), b = literal::E(w.data(), tau);
    ASSERT_NEAR(a, b, 1e-12 * b) << tau;
  }
  EXPECT_EQ(Amdf::MeanDifference(w.data(), 0), 0);
  EXPECT_EQ(Amdf::MeanDifference(w.data(), 37), literal::E(w.data(), 37));  // whole lags exactly
}

// The precise refinement reads only its 3000-sample window and stays within
// a lag of where it starts; a dip further away draws it one whole lag.
TEST(Amdf, PreciseRefineStaysWithinALagOfItsStart) {
  Random r(12);
  for (int trial = 0; trial < 200; ++trial) {
    const std::vector<int16_t> w = Window(trial, r);
    const int k0 = static_cast<int>(r.Next() % 520), k = std::clamp(k0, 3, 499);
    const double p = Amdf::RefinePrecise(w.data(), k0);
    ASSERT_TRUE(p >= k - 1 && p <= k + 1) << trial << " " << k0 << " " << p;
  }
  const std::vector<int16_t> sine = signals::Sine(22050 / 123.456, 20000, 3000);
  EXPECT_EQ(Amdf::RefinePrecise(sine.data(), 126), 125);
}

// A table shaped by hand: flat at `level` from entry 11, with V-shaped dips.
struct Shape {
  std::vector<int32_t> d;
  explicit Shape(int32_t level) : d(500, level) { std::fill(d.begin(), d.begin() + 11, 0); }
  Shape &Dip(int at, int32_t bottom, int width = 3) {
    for (int k = at - width; k <= at + width; ++k) d[k] = bottom + std::abs(k - at) * 10;
    return *this;
  }
  int Pick(bool previous) {
    EXPECT_EQ(literal::Pick(d.data(), previous), Amdf::PickPeriod(d.data(), previous));
    return Amdf::PickPeriod(d.data(), previous);
  }
};

TEST(Amdf, PickPeriodTakesTheFirstDipDeepEnoughUnderTheRidge) {
  EXPECT_EQ(Shape(1000).Dip(100, 100).Dip(200, 50).Pick(false), 100);  // not the deeper multiple
  EXPECT_EQ(Shape(1000).Pick(false), 0);  // never rises above 0.8 m and falls below 0.75 m
  EXPECT_EQ(Shape(0).Pick(true), 0);
  EXPECT_EQ(Shape(1000).Dip(150, 820, 0).Pick(true), 0);  // not below 0.75 m
  EXPECT_EQ(Shape(1000).Dip(150, 600, 0).Pick(false), 150);
  Shape tie(1000);
  tie.d[150] = tie.d[151] = 300;
  EXPECT_EQ(tie.Pick(false), 150);  // ties at the bottom go to the earlier entry
  // The dip must lie 100 (after a previous period) or 200 below the highest
  // entry back past the ridge (here entry 148).
  Shape shallow(1000);
  shallow.d[148] = 700;
  shallow.d[150] = 600;
  EXPECT_EQ(shallow.Pick(true), 150);
  EXPECT_EQ(shallow.Pick(false), 0);
  shallow.d[148] = 699;
  EXPECT_EQ(shallow.Pick(true), 0);
}

TEST(Amdf, WeightingFavoursPeriodsNearThePreviousNote) {
  Shape s(1000);
  // 110 Hz: ±2 semitones are periods 178.58…225.003, so lo 179, end 226, centre 202.5.
  Amdf::WeightAround(s.d.data(), 45.0, 440);
  // Weight 1 at lo, 1 − 0.35 × (1 − 22.5 / 23.5) next to it, 0.65 + a bit beside the centre.
  const struct {
    int k;
    int32_t value;
  } expected[] = {{178, 1000}, {179, 1000}, {180, 985}, {202, 657}, {203, 657}, {225, 985}, {226, 1000}};
  for (const auto &e : expected) EXPECT_EQ(s.d[e.k], e.value) << e.k;
  Shape none(1000);
  Amdf::WeightAround(none.d.data(), 0, 440);  // no previous note: everything × 0.65
  EXPECT_EQ(none.d[11], 650);
  EXPECT_EQ(none.d[499], 650);
  Shape nan(1000);  // an absurd reference makes NaN bounds: the whole table is weighted, safely
  Amdf::WeightAround(nan.d.data(), 45.0, std::nan(""));
  EXPECT_EQ(nan.d[250], 650);
  EXPECT_EQ(nan.d[0], 0);
}

}  // namespace
