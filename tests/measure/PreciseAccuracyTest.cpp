// The precise refinement through the tuner's whole pipeline, over steady
// sines and plucked strings from E2 to E6, clean and with noise: every
// reading names the played note, and the errors stay within bounds in cents.
// Results begin 0.77 s into each recording, past the pluck's attack.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"

namespace {

TEST(PreciseAccuracy, SinesAndPlucksAcrossTheRange) {
  const struct {
    const char *what;
    bool pluck;
    int noise;             // amplitude of white noise added
    double median, worst;  // bounds on |error| in cents
  } cases[] = {{"sine", false, 0, 0.01, 0.05},
               {"sine, SNR 22 dB", false, 300, 0.05, 1.5},
               {"pluck", true, 0, 0.01, 0.1},
               {"pluck with noise", true, 200, 0.05, 3.0}};
  for (const auto &c : cases) {
    signals::Random r(7);
    std::vector<double> errors;
    for (int note = 40; note <= 88; note += 2) {
      const double cents = 90 * r.Unit() - 45, hz = signals::Hertz(note, cents);
      std::vector<int16_t> s = c.pluck ? signals::Pluck(hz, 20000, 3 * 22050, 1.5)
                                       : signals::Sine(hz, c.noise ? 3000 : 9000, 3 * 22050, 6 * r.Unit());
      const std::vector<int16_t> n = signals::Noise(r.Next(), s.size(), c.noise);
      for (size_t i = 0; i < s.size(); ++i) s[i] = signals::Clip(s[i] + n[i]);
      for (const Measure::Result &x : Record(s, 440, 2205, Measure::Refinement::kPrecise)) {
        ASSERT_EQ(std::floor(x.note + 0.5), note) << c.what << " " << note << " " << cents;
        errors.push_back(std::fabs((x.note - note) * 100 - cents));
      }
    }
    std::sort(errors.begin(), errors.end());
    const double median = errors[errors.size() / 2];
    std::printf("%-16s median |error| %.4f cents, worst %.3f over %zu readings\n", c.what, median, errors.back(),
                errors.size());
    EXPECT_LE(median, c.median) << c.what;
    EXPECT_LE(errors.back(), c.worst) << c.what;
    EXPECT_EQ(errors.size(), 25u * (66 - 16)) << c.what;
  }
}

}  // namespace
