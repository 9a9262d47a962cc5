// Whole recordings through the pipeline: accuracy on the six strings, the
// literal rules on a performance, and hostile or random audio.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"
#include "measure/GuitarSmoother.h"

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
// literal rules throughout, attacks, jumps and decays included, and unless
// configured otherwise the pipeline gives their notes, smoothed.
TEST(Accuracy, EstimatorAndPipelineMatchTheLiteralRulesOnAPerformance) {
  std::vector<int16_t> audio;
  signals::Random r(77);
  for (double n : {40.1, 52.3, 45.0, 0.0, 64.2, 59.9, 55.5, 47.0}) {
    const std::vector<int16_t> part = n == 0 ? signals::Noise(r.Next(), 30000, 300)
                                             : signals::Pluck(signals::Hertz(n), 5000 + 20000 * r.Unit(),
                                                              30000 + r.Next() % 9000);
    audio.insert(audio.end(), part.begin(), part.end());
  }
  ExpectLiteralAgreement(audio, "performance");
  literal::Tone phone;
  Measure3::GuitarSmoother smoother;
  int16_t level = 0;
  for (size_t at = 0; at + 1000 <= audio.size(); at += 1000) {
    phone.Process(audio.data() + at, &smoother.Window(), &level);
    smoother.Drain();
  }
  const std::vector<Measure::Result> results = Record(audio);
  ASSERT_EQ(results.size(), smoother.Results().size());
  for (size_t i = 0; i < results.size(); ++i) ASSERT_NEAR(results[i].note, smoother.Results()[i], 1e-9) << i;
}

// The recording's results through the pipeline, each checked for sanity.
std::vector<Measure::Result> Survive(const std::vector<int16_t> &audio, double reference = 440) {
  const std::vector<Measure::Result> results = Record(audio, reference);
  for (const Measure::Result &x : results) {
    EXPECT_GE(x.level, 1);
    // Periods of 0…501 samples at a sane reference: notes 28…137, or 0.
    EXPECT_TRUE(reference != 440 || x.note == 0 || (x.note > 28 && x.note < 137)) << x.note;
  }
  return results;
}

TEST(Robustness, HostileSignalsGiveOneSaneResultPerBlock) {
  const size_t n = 40000;
  std::vector<int16_t> square(n), nyquist(n);
  for (size_t i = 0; i < n; ++i) {
    square[i] = (i / 50) % 2 ? 32767 : -32768;
    nyquist[i] = i % 2 ? 32767 : -32768;
  }
  const std::vector<int16_t> dc(n, -32768), tone = signals::Sine(150, 9000, n);
  const struct {
    const char *what;
    std::vector<int16_t> audio;
    double reference;
  } cases[] = {{"square", square, 440},
               {"silence", std::vector<int16_t>(n, 0), 440},
               {"full-scale DC", dc, 440},
               {"noise", signals::Noise(3, n), 440},
               {"hard clipped", signals::Sine(150, 200000, n), 440},
               {"Nyquist", nyquist, 440},
               {"tiny reference", tone, 1e-300},
               {"huge reference", tone, 1e300}};
  for (const auto &c : cases) EXPECT_EQ(Survive(c.audio, c.reference).size(), 40u - 16u) << c.what;
  for (const Measure::Result &x : Survive(dc)) {
    EXPECT_EQ(x.level, 32767);  // 32768 does not fit the level
    EXPECT_EQ(x.note, 0);
  }
}

TEST(Robustness, OneSampleCaptureBuffersGiveTheSameResults) {
  const std::vector<int16_t> audio = signals::Pluck(110, 20000, 20001);
  const std::vector<Measure::Result> whole = Record(audio), single = Record(audio, 440, 1);
  ASSERT_EQ(single.size(), 20u - 16u);
  ASSERT_EQ(whole.size(), single.size());
  for (size_t i = 0; i < whole.size(); ++i) {
    EXPECT_EQ(single[i].note, whole[i].note);
    EXPECT_EQ(single[i].level, whole[i].level);
  }
}

// Arbitrary audio in random mixtures of noise, constants, loud tones and
// random walks, through the estimator beside the literal rules and through
// the pipeline. Seeded: the same inputs on every run.
TEST(Robustness, RandomAudioFuzz) {
  signals::Random r(2024);
  for (int round = 0; round < 60; ++round) {
    std::vector<int16_t> audio(30000);
    for (size_t at = 0; at < audio.size();) {
      const size_t len = std::min<size_t>(audio.size() - at, 1 + r.Next() % 4000);
      const int mode = r.Next() % 4;
      const double hz = 40 + r.Unit() * 2000;
      const int16_t constant = r.Sample();
      for (size_t i = 0; i < len; ++i, ++at) {
        if (mode == 0) audio[at] = r.Sample();
        else if (mode == 1) audio[at] = constant;
        else if (mode == 2) audio[at] = signals::Clip(40000 * r.Unit() * std::sin(at * hz / 3509.0));
        else audio[at] = static_cast<int16_t>(audio[at > 0 ? at - 1 : 0] + (r.Next() % 64) - 32);
      }
    }
    ExpectLiteralAgreement(audio, ("round " + std::to_string(round)).c_str());
    Survive(audio);
  }
}

}  // namespace
