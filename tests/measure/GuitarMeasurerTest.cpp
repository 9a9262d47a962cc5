#include <gtest/gtest.h>

#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"
#include "measure/GuitarSmoother.h"
#include "measure/MeasurerGuitar3.h"

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
  w[14] = 45.1;  // off by 0.1 from its last note, then an exact full window
  Smooth(s, w);
  Smooth(s, std::vector<double>(15, 45.0));
  ASSERT_EQ(s.History().size(), 2u);
  EXPECT_NEAR(s.History()[0].deviation, 0.1 - (s.History()[0].estimate - 45.0), 1e-9);
  w[14] = 0;  // the note ends
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

// The measurer as the tuner builds it, with a sink on its pin.
struct Pipeline {
  Pipeline() {
    RCPtr<IFilter> filter;
    factory->CreateMeasurer(&filter, &config);
    measurer = static_cast<Measure3::MeasurerGuitar3 *>(filter.get());
    measurer->PlugPin(sink.get());
    Restart();
  }
  ~Pipeline() {
    measurer->NotifyEvent(IFilter::kEventStop);
    measurer->UnplugAll();
  }
  void Restart() {
    measurer->NotifyEvent(IFilter::kEventStop);
    measurer->SetStartPosition(0);
    measurer->NotifyEvent(IFilter::kEventStart);
  }
  void Write(const std::vector<int16_t> &audio, size_t chunk = 2205) {
    for (size_t at = 0; at < audio.size(); at += chunk)
      ASSERT_EQ(measurer->WriteSample(AudioSample(audio, at, std::min(chunk, audio.size() - at)).get()), 0);
  }
  RCPtr<Measure3::GuitarFactory> factory{new Measure3::GuitarFactory};
  RCPtr<IMeasurerConfig> config;
  RCPtr<Measure3::MeasurerGuitar3> measurer;
  RCPtr<ResultSink> sink{new ResultSink};
};

TEST(MeasurerGuitar3, FirstResultWithTheSeventeenthBlockThenOnePerBlock) {
  Pipeline p;
  p.Write(signals::Sine(110, 10000, 16000));
  EXPECT_TRUE(p.sink->received.empty());
  p.Write(signals::Sine(110, 10000, 1000));
  ASSERT_EQ(p.sink->received.size(), 1u);
  EXPECT_EQ(p.sink->received[0].start, Measure::MeasurerBase::TimeFromBytes(32000));
  p.Write(signals::Sine(110, 10000, 5000));
  ASSERT_EQ(p.sink->received.size(), 6u);
  for (const auto &r : p.sink->received) {
    ASSERT_EQ(r.records.size(), 1u);
    EXPECT_NEAR(r.records[0].note, 45.0, 0.05);
    EXPECT_NEAR(r.records[0].level, 7071, 40);
  }
  EXPECT_EQ(p.sink->received.back().records[0].level, p.measurer->CurrentLevel());  // the level after the block
}

TEST(MeasurerGuitar3, ReferenceComesFromTheConfigurationAndSurvivesARestart) {
  Pipeline p;
  EXPECT_EQ(p.config->GetReferenceFrequency(), 440);
  p.config->SetReferenceFrequency(442);
  p.Restart();
  EXPECT_EQ(p.config->GetReferenceFrequency(), 442);
  p.Write(signals::Sine(110, 10000, 20000));
  ASSERT_FALSE(p.sink->received.empty());
  EXPECT_NEAR(p.sink->received.back().records[0].note, 44.92, 0.05);
}

TEST(MeasurerGuitar3, RestartKeepsTheWindowSoResultsResumeAtOnce) {
  Pipeline p;
  p.Write(signals::Sine(110, 10000, 20000));
  const size_t before = p.sink->received.size();
  p.Restart();
  EXPECT_EQ(p.measurer->Smoother().Window().size(), 14u);
  p.Write(signals::Sine(110, 10000, 3000), 1000);
  EXPECT_EQ(p.sink->received.size(), before + 1);  // the estimator's next note completes the window
}

}  // namespace
