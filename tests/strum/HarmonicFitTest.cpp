#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "measure/HarmonicFit.h"
#include "measure/RealFft.h"
#include "strum/SearchRanges.h"

namespace {

using Measure::PartialMeasure;

// The transform against the plain sum it stands for, at two sizes.
TEST(HarmonicFit, RealTransformMatchesTheDefinition) {
  for (int size : {8, 256}) {
    Measure::RealFft fft(size);
    std::vector<double> in(size);
    for (int t = 0; t < size; ++t) in[t] = std::sin(0.37 * t * t) + 0.25 * (t % 3);
    std::vector<std::complex<double>> out(size / 2 + 1);
    fft.Transform(in.data(), out.data());
    for (int k = 0; k <= size / 2; ++k) {
      std::complex<double> sum;
      for (int t = 0; t < size; ++t) sum += in[t] * std::polar(1.0, -2 * std::numbers::pi * k * t / size);
      EXPECT_NEAR(std::abs(out[k] - sum), 0, 1e-9 * size) << "size " << size << " bin " << k;
    }
  }
}

// f0 and B come back from exact partials, whatever partials are missing;
// B stays within its bounds; with partials too low to tell B, the prior holds.
TEST(HarmonicFit, RecoversF0AndInharmonicityAndKeepsBWithinBounds) {
  const Measure::HarmonicString truth{82.3, 1.7e-4};
  std::vector<PartialMeasure> partials;
  for (int n : {1, 2, 5, 7, 9, 13, 20}) partials.push_back({n, truth.Partial(n), 1.0 / n});
  Measure::HarmonicString fitted;
  ASSERT_TRUE(Measure::FitHarmonicString(partials, 1e-4, &fitted));
  EXPECT_NEAR(fitted.f0, truth.f0, 1e-9);
  EXPECT_NEAR(fitted.b, truth.b, 1e-11);

  // Compressed partials would mean a negative B: held at 0 instead.
  for (PartialMeasure &p : partials) p.hertz = p.n * 82.3 * (1 - 1e-5 * p.n);
  ASSERT_TRUE(Measure::FitHarmonicString(partials, 1e-4, &fitted));
  EXPECT_EQ(fitted.b, 0);
  for (PartialMeasure &p : partials) p.hertz = p.n * 82.3 * std::sqrt(1 + 4e-3 * p.n * p.n);
  ASSERT_TRUE(Measure::FitHarmonicString(partials, 1e-4, &fitted));
  EXPECT_EQ(fitted.b, Measure::kLargestB);

  const std::vector<PartialMeasure> low{{1, truth.Partial(1), 1}, {2, truth.Partial(2), 1}};
  ASSERT_TRUE(Measure::FitHarmonicString(low, 1.7e-4, &fitted));
  EXPECT_EQ(fitted.b, 1.7e-4);
  EXPECT_NEAR(fitted.Fundamental(), truth.Fundamental(), 1e-9);
  EXPECT_FALSE(Measure::FitHarmonicString({}, 1e-4, &fitted));
  const std::vector<PartialMeasure> weightless{{1, 82.0, 0}};
  EXPECT_FALSE(Measure::FitHarmonicString(weightless, 1e-4, &fitted));
}

// Ranges reach two semitones at most and never past half-way to a neighbour;
// strings tuned alike share one.
TEST(HarmonicFit, SearchRangesNeverOverlap) {
  const auto standard = Strum::MakeSearchRanges(Measure::Tuning{});
  EXPECT_DOUBLE_EQ(standard[0].lowest, 38.0);
  EXPECT_DOUBLE_EQ(standard[0].highest, 42.0);
  EXPECT_DOUBLE_EQ(standard[3].highest, 57.0);
  EXPECT_DOUBLE_EQ(standard[3].lowest, 53.0);
  EXPECT_DOUBLE_EQ(standard[4].lowest, 57.0);
  EXPECT_DOUBLE_EQ(standard[5].highest, 66.0);
  for (int s = 0; s + 1 < 6; ++s) EXPECT_LE(standard[s].highest, standard[s + 1].lowest);
  const auto unison = Strum::MakeSearchRanges(Measure::Tuning{{38, 45, 50, 50, 57, 62}});
  EXPECT_DOUBLE_EQ(unison[2].lowest, unison[3].lowest);
  EXPECT_DOUBLE_EQ(unison[2].highest, 52.0);
  EXPECT_DOUBLE_EQ(unison[4].lowest, 55.0);  // half-way to the D3s: 53.5; two semitones: 55
}

}  // namespace
