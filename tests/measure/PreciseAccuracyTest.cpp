// The precise refinement through the tuner's whole pipeline: steady sines
// across E2…E6 and plucked strings, clean and with noise. Every reading must
// name the played note; the errors must stay within the bounds in cents.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"

namespace {

using Measure::Refinement;

struct Case {
  const char *what;
  bool pluck;
  int noise;  // amplitude of added white noise
  double median, worst;  // bounds on |error| in cents
};

std::vector<int16_t> Signal(const Case &c, double hertz, signals::Random &r) {
  std::vector<int16_t> s = c.pluck ? signals::Pluck(hertz, 20000, 3 * 22050, 1.5)
                                   : signals::Sine(hertz, c.noise ? 3000 : 9000, 3 * 22050, 6 * r.Unit());
  const std::vector<int16_t> n = signals::Noise(r.Next(), s.size(), c.noise);
  for (size_t i = 0; c.noise && i < s.size(); ++i) s[i] = signals::Clip(s[i] + n[i]);
  return s;
}

// Results begin 0.77 s into each recording, past the pluck's attack.
TEST(PreciseAccuracy, SinesAndPlucksAcrossTheRange) {
  const Case cases[] = {
      {"sine", false, 0, 0.01, 0.05},
      {"sine, SNR 22 dB", false, 300, 0.05, 1.5},
      {"pluck", true, 0, 0.01, 0.1},
      {"pluck with noise", true, 200, 0.05, 6.0},
  };
  for (const Case &c : cases) {
    signals::Random r(7);
    std::vector<double> errors;
    for (int note = 40; note <= 88; note += 2) {
      const double cents = 90 * r.Unit() - 45;
      const std::vector<Measure::Result> results =
          Record(Signal(c, signals::Hertz(note, cents), r), 440, 2205, Refinement::kPrecise);
      ASSERT_EQ(results.size(), 66u - 16u);
      for (const Measure::Result &x : results) {
        ASSERT_EQ(std::floor(x.note + 0.5), note) << c.what << " " << note << " " << cents;
        errors.push_back(std::fabs((x.note - note) * 100 - cents));
      }
    }
    std::sort(errors.begin(), errors.end());
    const double median = errors[errors.size() / 2], worst = errors.back();
    std::printf("%-18s median |error| %.4f cents, worst %.3f cents over %zu readings\n", c.what, median, worst,
                errors.size());
    EXPECT_LE(median, c.median) << c.what;
    EXPECT_LE(worst, c.worst) << c.what;
  }
}

// The refinement comes from the configuration and survives a restart,
// which resets the estimator.
TEST(PreciseAccuracy, ModeSurvivesARestart) {
  const double hz = signals::Hertz(55);  // G3, which the phone's refits read 2.9 cents flat
  Tuner tuner(440, Refinement::kPrecise);
  tuner.Write(signals::Sine(hz, 9000, 22050));
  tuner.Restart();
  tuner.Write(signals::Sine(hz, 9000, 22050));
  EXPECT_EQ(tuner.Measurer().Estimator().GetRefinement(), Refinement::kPrecise);
  ASSERT_FALSE(tuner.results.empty());
  EXPECT_NEAR(tuner.results.back().note, 55, 0.0001);
}

}  // namespace
