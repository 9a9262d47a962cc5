// Whole recordings through the estimator and the pipeline: accuracy on the
// six strings, a performance, and hostile or random audio.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"
#include "measure/GuitarSmoother.h"
#include "measure/MainTone3.h"

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

// A performance of plucked notes, one after another, and a quiet noise:
// through attacks, jumps and decays the estimator finds each note within
// twelve hops and holds it within 5 cents while its window lies in the note,
// the noise gives no pitch, and unless configured otherwise the pipeline
// gives the estimator's notes, smoothed.
TEST(Accuracy, PerformanceOfPlucksAndNoise) {
  std::vector<int16_t> audio;
  std::vector<size_t> starts;
  const double played[] = {40.1, 52.3, 45.0, 0.0, 64.2, 59.9, 55.5, 47.0};
  signals::Random r(77);
  for (double n : played) {
    const std::vector<int16_t> part = n == 0 ? signals::Noise(r.Next(), 30000, 300)
                                             : signals::Pluck(signals::Hertz(n), 5000 + 20000 * r.Unit(),
                                                              30000 + r.Next() % 9000);
    starts.push_back(audio.size());
    audio.insert(audio.end(), part.begin(), part.end());
  }
  starts.push_back(audio.size());
  MainTone3 estimator;
  std::vector<double> notes;
  int16_t level = 0;
  for (size_t at = 0; at + 1000 <= audio.size(); at += 1000) estimator.Process(audio.data() + at, &notes, &level);
  int held = 0;
  for (size_t i = 0; i < notes.size(); ++i) {  // note i: the 3000 samples from 1000 i
    const size_t part = std::upper_bound(starts.begin(), starts.end(), 1000 * i) - starts.begin() - 1;
    if (1000 * i < starts[part] + 12000 || 1000 * i + 3000 > starts[part + 1]) continue;
    EXPECT_NEAR(notes[i], played[part], 0.05) << "note " << i << " in part " << part;
    ++held;
  }
  EXPECT_GT(held, 150) << "most of the performance";

  Measure3::GuitarSmoother smoother;
  for (double note : notes) {
    smoother.Window().push_back(note);
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
// random walks, through the pipeline. Seeded: the same inputs on every run.
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
    Survive(audio);
  }
}

}  // namespace
