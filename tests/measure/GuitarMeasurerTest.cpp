#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"
#include "measure/GuitarSmoother.h"

namespace {

using Measure3::GuitarSmoother;

// One smoothing step over a window given by its last notes (zeros before).
double Smooth(GuitarSmoother &s, std::vector<double> tail) {
  tail.insert(tail.begin(), 15 - tail.size(), 0.0);
  s.Window() = tail;
  s.Drain();
  EXPECT_EQ(s.Window().size(), 14u);
  const double r = s.Results().back();
  s.Results().clear();
  return r;
}

TEST(GuitarSmoother, CentreOfTheLineThroughTheNonZeroNotes) {
  GuitarSmoother s;
  EXPECT_EQ(Smooth(s, {}), 0);
  EXPECT_TRUE(s.History().empty()) << "silence is not remembered";
  EXPECT_EQ(Smooth(s, {40, 41}), 40.5);  // two notes are averaged
  EXPECT_EQ(s.History().back().count, 2);
  EXPECT_DOUBLE_EQ(Smooth(s, {40, 41, 42}), 41);
  EXPECT_DOUBLE_EQ(Smooth(s, {40, 41, 42, 47}), 43.6);  // x = −2…1: the line at 0, not the mean 42.5
  EXPECT_EQ(Smooth(s, std::vector<double>(15, 45.25)), 45.25);
  EXPECT_EQ(s.History().back().estimate, 45.25);
  EXPECT_EQ(s.History().back().deviation, 0);
  EXPECT_EQ(s.History().back().count, 15);
}

TEST(GuitarSmoother, EndingReportsTheBestFullReadingOrElseTheOldest) {
  GuitarSmoother s;
  std::vector<double> w(15, 45.0);
  w[14] = 45.1;  // off by 0.1 from its last note, then two exact full windows
  Smooth(s, w);
  Smooth(s, std::vector<double>(15, 45.0));
  Smooth(s, std::vector<double>(15, 46.0));
  ASSERT_EQ(s.History().size(), 3u);
  EXPECT_NEAR(s.History()[0].deviation, 0.1 - (s.History()[0].estimate - 45.0), 1e-9);
  w[14] = 0;  // the note ends: the earlier of the two exact ones
  EXPECT_EQ(Smooth(s, w), 45.0);
  EXPECT_TRUE(s.History().empty());
  EXPECT_EQ(Smooth(s, {50, 50.5}), 50.25);
  EXPECT_DOUBLE_EQ(Smooth(s, {51, 51, 51}), 51);
  EXPECT_EQ(Smooth(s, {51, 51, 0}), 50.25);  // no full reading: the oldest
  EXPECT_EQ(Smooth(s, {51, 51, 0}), 0);      // nothing remembered at all
}

TEST(GuitarSmoother, HistoryKeepsTheLatestSixty) {
  GuitarSmoother s;
  for (int i = 0; i < 61; ++i) Smooth(s, std::vector<double>(15, 40.0 + i * 0.001));
  ASSERT_EQ(s.History().size(), 60u);
  EXPECT_DOUBLE_EQ(s.History().front().estimate, 40.001);
}

TEST(MeasurerGuitar3, FirstResultWithTheSeventeenthBlockThenOnePerBlock) {
  Tuner t(441);
  const std::vector<int16_t> tone = signals::Sine(196, 9000, 22050);
  t.Write({tone.begin(), tone.begin() + 16000});
  EXPECT_TRUE(t.results.empty());
  t.Write({tone.begin() + 16000, tone.begin() + 17000});
  EXPECT_EQ(t.results.size(), 1u);
  t.Write({tone.begin() + 17000, tone.end()});
  EXPECT_EQ(t.batches, std::vector<unsigned>(22 - 16, 1u));
  for (const Measure::Result &r : t.results) {
    EXPECT_NEAR(r.note, 55 + 12 * std::log2(440.0 / 441), 0.05);
    EXPECT_NEAR(r.level, 6364, 40);
  }
  EXPECT_EQ(t.results.back().level, t.Measurer().CurrentLevel());  // the level after the block
}

TEST(MeasurerGuitar3, ReferenceSurvivesARestart) {
  Tuner t;
  EXPECT_EQ(t.pipeline->GetReferenceFrequency(), 440);
  t.pipeline->SetReferenceFrequency(442);
  t.Restart();
  EXPECT_EQ(t.pipeline->GetReferenceFrequency(), 442);
  t.Write(signals::Sine(110, 10000, 20000));
  ASSERT_FALSE(t.results.empty());
  EXPECT_NEAR(t.results.back().note, 44.92, 0.05);
}

TEST(MeasurerGuitar3, RestartKeepsTheWindowSoResultsResumeAtOnce) {
  Tuner t;
  t.Write(signals::Sine(110, 10000, 20000));
  const size_t before = t.results.size();
  t.Restart();
  EXPECT_EQ(t.Measurer().Smoother().Window().size(), 14u);
  t.Write(signals::Sine(110, 10000, 3000), 1000);
  EXPECT_EQ(t.results.size(), before + 1);  // the estimator's next note completes the window
}

}  // namespace
