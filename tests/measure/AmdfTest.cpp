#include <gtest/gtest.h>

#include <vector>

#include "LiteralTone.h"
#include "TestSignals.h"
#include "measure/AmdfRefine.h"
#include "measure/AmdfTable.h"
#include "measure/MidiTypes.h"
#include "measure/PeriodChoice.h"

namespace {

using signals::Random;

// Windows of 3000 samples of many kinds: noise of several loudnesses,
// tones, plucks with noise, clipped tones, steps.
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
      w.assign(3000, 0);
      for (size_t i = 0; i < w.size(); ++i) w[i] = r.Sample();
  }
  return w;
}

TEST(Amdf, LevelIsTheTruncatedRootMeanSquare) {
  std::vector<int16_t> zeros(500, 0);
  EXPECT_EQ(Amdf::Level(zeros.data()), 1);
  std::vector<int16_t> dc(500, -32768);
  EXPECT_EQ(Amdf::Level(dc.data()), 32767);  // 32768 does not fit the level
  std::vector<int16_t> ones(500, 3);
  EXPECT_EQ(Amdf::Level(ones.data()), 3);
  std::vector<int16_t> almost(500, 0);
  almost[0] = 22;  // 484 / 500 = 0: below one, kept at 1
  EXPECT_EQ(Amdf::Level(almost.data()), 1);
  std::vector<int16_t> sine = signals::Sine(110, 10000, 3000);
  EXPECT_NEAR(Amdf::Level(sine.data()), 7071, 40);
}

TEST(Amdf, FastKernelsEqualTheLiteralRules) {
  Random r(11);
  for (int trial = 0; trial < 400; ++trial) {
    const std::vector<int16_t> w = Window(trial, r);
    ASSERT_EQ(Amdf::Level(w.data()), literal::Level(w.data())) << trial;
    int32_t fast[500], slow[500];
    Amdf::CoarseTable(w.data(), fast);
    literal::Table(w.data(), slow);
    ASSERT_EQ(std::vector<int32_t>(fast, fast + 500), std::vector<int32_t>(slow, slow + 500)) << trial;

    const double prev = trial % 3 == 0 ? 0 : 30 + 60 * r.Unit();
    const double ref = 400 + 80 * r.Unit();
    Amdf::WeightAround(fast, prev, ref);
    literal::Weight(slow, prev, ref);
    ASSERT_EQ(std::vector<int32_t>(fast, fast + 500), std::vector<int32_t>(slow, slow + 500)) << trial;
    for (bool had : {false, true}) ASSERT_EQ(Amdf::PickPeriod(fast, had), literal::Pick(slow, had)) << trial;

    for (int k0 : {static_cast<int>(r.Next() % 520), static_cast<int>(22050 / (45 + 900 * r.Unit()))}) {
      const double a = Amdf::Refine(w.data(), k0), b = literal::Refine(w.data(), k0);
      if (a == 0 || b == 0) {
        ASSERT_EQ(a, b);
        continue;
      }
      ASSERT_NEAR(NoteFromFrequency(22050 / a, 440), NoteFromFrequency(22050 / b, 440), 1e-9) << trial << " k0 " << k0;
    }
  }
}

TEST(Amdf, InterpolatedDifferencesMatchTheSequentialSum) {
  Random r(5);
  const std::vector<int16_t> w = signals::Noise(9, 3000);
  for (int i = 0; i < 200; ++i) {
    const double tau = 501 * r.Unit();
    const double a = Amdf::MeanDifference(w.data(), tau), b = literal::E(w.data(), tau);
    ASSERT_NEAR(a, b, 1e-12 * b) << tau;
  }
  EXPECT_EQ(Amdf::MeanDifference(w.data(), 0), 0);
  EXPECT_EQ(Amdf::MeanDifference(w.data(), 37), literal::E(w.data(), 37));  // whole lags exactly
}

TEST(Amdf, RefineClampsItsStartingLag) {
  const std::vector<int16_t> w = signals::Pluck(80, 20000, 3000);
  const double at1 = Amdf::Refine(w.data(), 1);
  EXPECT_EQ(Amdf::Refine(w.data(), 0), at1);
  EXPECT_EQ(Amdf::Refine(w.data(), -40), at1);
  EXPECT_GE(at1, 0);
  EXPECT_LE(at1, 2);
  const double at499 = Amdf::Refine(w.data(), 499);
  EXPECT_EQ(Amdf::Refine(w.data(), 501), at499);
  EXPECT_EQ(Amdf::Refine(w.data(), 9999), at499);
  const double at500 = Amdf::Refine(w.data(), 500);
  EXPECT_GE(at500, 499);
  EXPECT_LE(at500, 501);
  EXPECT_NE(at500, at499);
}

TEST(Amdf, RefineFindsTheSubSamplePeriod) {
  for (double hertz : {82.41, 110.0, 146.83, 196.0, 246.94, 329.63, 1000.0}) {
    const std::vector<int16_t> w = signals::Sine(hertz, 12000, 3000);
    const double period = 22050 / hertz;
    const double refined = Amdf::Refine(w.data(), static_cast<int>(std::floor(period + 0.5)));
    // A sine's difference function is V-shaped, so parabola fits leave a few cents.
    EXPECT_NEAR(NoteFromFrequency(22050 / refined, 440), NoteFromFrequency(hertz, 440), 0.04) << hertz;
  }
}

// A table shaped by hand: flat at `level` with dips (position, depth).
struct Shape {
  int32_t d[500];
  explicit Shape(int32_t level) {
    for (int k = 0; k < 500; ++k) d[k] = k < 11 ? 0 : level;
  }
  Shape &Dip(int at, int32_t bottom, int width = 3) {
    for (int k = at - width; k <= at + width; ++k) d[k] = bottom + std::abs(k - at) * 10;
    return *this;
  }
};

TEST(Amdf, PickPeriodTakesTheFirstDeepDipNotAMultiple) {
  Shape s(1000);
  s.Dip(100, 100).Dip(200, 50);  // the second dip is deeper but a multiple
  EXPECT_EQ(Amdf::PickPeriod(s.d, false), 100);
  EXPECT_EQ(literal::Pick(s.d, false), 100);
  Shape flat(1000);
  EXPECT_EQ(Amdf::PickPeriod(flat.d, false), 0);  // no entry ever rises above 0.8 m and falls again
  Shape zero(0);
  EXPECT_EQ(Amdf::PickPeriod(zero.d, true), 0);
}

TEST(Amdf, PickPeriodNeedsADipDeepEnoughUnderTheRidge) {
  // Ridge 1000 everywhere, dip bottom at 820: 180 deep; the mean sits a little lower.
  Shape s(1000);
  s.Dip(150, 820, 0);
  // 0.8 m ≈ 799.7, so the dip at 820 never counts as a real dip (needs < 0.75 m).
  EXPECT_EQ(Amdf::PickPeriod(s.d, true), 0);
  Shape deep(1000);
  deep.Dip(150, 600, 0);
  EXPECT_EQ(Amdf::PickPeriod(deep.d, false), 150);  // 400 deep
  // Ties at the bottom go to the earlier entry.
  Shape tie(1000);
  tie.d[150] = 300;
  tie.d[151] = 300;
  EXPECT_EQ(Amdf::PickPeriod(tie.d, false), 150);
}

TEST(Amdf, WeightingFavoursPeriodsNearThePreviousNote) {
  Shape s(1000);
  // 110 Hz: ±2 semitones are periods 178.58…225.003, so lo 179, end 226, centre 202.5.
  Amdf::WeightAround(s.d, 45.0, 440);
  EXPECT_EQ(s.d[178], 1000);
  EXPECT_EQ(s.d[179], static_cast<int>(1000 * (1 - 0.35 * (1 - 23.5 / 23.5)) ));
  EXPECT_EQ(s.d[180], 985);  // 1 − 0.35 × (1 − 22.5 / 23.5)
  EXPECT_EQ(s.d[202], 657);
  EXPECT_EQ(s.d[203], 657);
  EXPECT_EQ(s.d[225], 985);
  EXPECT_EQ(s.d[226], 1000);
  Shape all(1000);
  Amdf::WeightAround(all.d, 0, 440);
  EXPECT_EQ(all.d[11], 650);
  EXPECT_EQ(all.d[499], 650);
  // An absurd reference makes NaN bounds: the whole table is weighted, safely.
  Shape nan(1000);
  Amdf::WeightAround(nan.d, 45.0, std::nan(""));
  EXPECT_EQ(nan.d[250], 650);
  EXPECT_EQ(nan.d[0], 0);
}

}  // namespace
