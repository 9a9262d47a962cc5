#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"

namespace {

// Every reading after the first names the played string; steady tones lie
// within a few cents. The figures are printed for the record.
TEST(Accuracy, SixStringsAtKnownOffsets) {
  for (bool pluck : {false, true}) {
    for (double string : {40, 45, 50, 55, 59, 64}) {
      double worst = 0, sum = 0;
      int count = 0;
      for (double cents : {-30, -12, 0, 9, 25}) {
        const double hz = signals::Hertz(string, cents);
        const std::vector<Measure::Result> r =
            Record(pluck ? signals::Pluck(hz, 20000, 2 * 22050, 2.0) : signals::Sine(hz, 8000, 2 * 22050));
        ASSERT_EQ(r.size(), 44u - 16u);
        for (size_t i = 1; i < r.size(); ++i, ++count) {
          ASSERT_EQ(std::floor(r[i].note + 0.5), string) << "string " << string << " cents " << cents << " #" << i;
          const double error = std::fabs((r[i].note - string) * 100 - cents);
          worst = std::max(worst, error);
          sum += error;
        }
      }
      std::printf("%-6s string %2.0f: mean |error| %.2f cents, worst %.2f cents over %d readings\n",
                  pluck ? "pluck" : "sine", string, sum / count, worst, count);
      EXPECT_LT(worst, 5.0) << string;
    }
  }
}

// A performance of plucked notes and noise: the estimator follows the
// literal rules throughout, attacks, jumps and decays included.
TEST(Accuracy, EstimatorMatchesTheLiteralRulesOnAPerformance) {
  std::vector<int16_t> audio;
  signals::Random r(77);
  for (double n : {40.1, 52.3, 45.0, 0.0, 64.2, 59.9, 55.5, 47.0}) {
    const std::vector<int16_t> part = n == 0 ? signals::Noise(r.Next(), 30000, 300)
                                             : signals::Pluck(signals::Hertz(n), 5000 + 20000 * r.Unit(),
                                                              30000 + r.Next() % 9000);
    audio.insert(audio.end(), part.begin(), part.end());
  }
  ExpectLiteralAgreement(audio, "performance");
}

}  // namespace
