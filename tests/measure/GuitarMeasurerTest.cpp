#include <gtest/gtest.h>

#include <vector>

#include "ResultSink.h"
#include "TestSignals.h"
#include "filters/MediaSample.h"
#include "measure/GuitarFactory.h"
#include "measure/GuitarSmoother.h"
#include "measure/MeasurerGuitar3.h"

namespace {

using Measure3::GuitarSmoother;

// Runs one smoothing step over the given window.
double SmoothOnce(GuitarSmoother &s, const std::vector<double> &window) {
  s.Window() = window;
  s.Drain();
  EXPECT_EQ(s.Window().size(), 14u);
  const double r = s.Results().back();
  s.Results().clear();
  return r;
}

TEST(GuitarSmoother, SilentWindowGivesZeroAndNoHistory) {
  GuitarSmoother s;
  EXPECT_EQ(SmoothOnce(s, std::vector<double>(15, 0)), 0);
  EXPECT_TRUE(s.History().empty());
}

TEST(GuitarSmoother, SteadyWindowIsRemembered) {
  GuitarSmoother s;
  EXPECT_EQ(SmoothOnce(s, std::vector<double>(15, 45.25)), 45.25);
  ASSERT_EQ(s.History().size(), 1u);
  EXPECT_EQ(s.History()[0].estimate, 45.25);
  EXPECT_EQ(s.History()[0].deviation, 0);
  EXPECT_EQ(s.History()[0].count, 15);
}

TEST(GuitarSmoother, TwoValuesAreAveragedMoreAreFittedWithALine) {
  // Non-zero notes at the end of the window, so no note has ended yet.
  GuitarSmoother s;
  std::vector<double> w(15, 0);
  w[13] = 40;
  w[14] = 41;
  EXPECT_EQ(SmoothOnce(s, w), 40.5);
  EXPECT_EQ(s.History().back().count, 2);
  // Three values on a line: odd count, the centre equals the mean.
  w = std::vector<double>(15, 0);
  w[12] = 40;
  w[13] = 41;
  w[14] = 42;
  EXPECT_DOUBLE_EQ(SmoothOnce(s, w), 41);
  // Four values 40, 41, 42, 47 at x = −2…1: intercept of the fitted line.
  w = std::vector<double>(15, 0);
  w[11] = 40;
  w[12] = 41;
  w[13] = 42;
  w[14] = 47;
  const double sy = 170, sxx = 6, sx = -2, sxy = -80 - 41 + 47;
  EXPECT_DOUBLE_EQ(SmoothOnce(s, w), (sy * sxx - sx * sxy) / (4 * sxx - sx * sx));
  EXPECT_NE((sy * sxx - sx * sxy) / (4 * sxx - sx * sx), sy / 4);
}

TEST(GuitarSmoother, EndingReportsTheBestFullReading) {
  GuitarSmoother s;
  // Build a history: a full window whose last note is off by 0.1, then an
  // exact one, then one with 14 notes.
  std::vector<double> w(15, 45.0);
  w[14] = 45.1;
  SmoothOnce(s, w);
  SmoothOnce(s, std::vector<double>(15, 45.0));
  ASSERT_EQ(s.History().size(), 2u);
  EXPECT_NEAR(s.History()[0].deviation, 0.1 - (s.History()[0].estimate - 45.0), 1e-9);
  w = std::vector<double>(15, 45.0);
  w[14] = 0;  // the note ends
  EXPECT_EQ(SmoothOnce(s, w), 45.0);
  EXPECT_TRUE(s.History().empty());
  // Without any full reading the oldest one is reported; without any, 0.
  w = std::vector<double>(15, 0);
  w[13] = 50;
  w[14] = 50.5;
  EXPECT_EQ(SmoothOnce(s, w), 50.25);
  w[12] = 51;
  w[13] = 51;
  w[14] = 51;
  EXPECT_DOUBLE_EQ(SmoothOnce(s, w), 51);
  ASSERT_EQ(s.History().size(), 2u);
  w[14] = 0;
  EXPECT_EQ(SmoothOnce(s, w), 50.25);
  EXPECT_TRUE(s.History().empty());
  EXPECT_EQ(SmoothOnce(s, w), 0);
}

TEST(GuitarSmoother, HistoryKeepsTheLatestSixty) {
  GuitarSmoother s;
  for (int i = 0; i < 61; ++i) SmoothOnce(s, std::vector<double>(15, 40.0 + i * 0.001));
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
    measurer->SetStartPosition(0);
    measurer->NotifyEvent(IFilter::kEventStart);
  }
  ~Pipeline() {
    measurer->NotifyEvent(IFilter::kEventStop);
    measurer->UnplugAll();
  }
  void Write(const std::vector<int16_t> &audio, size_t chunk = 2205) {
    for (size_t at = 0; at < audio.size(); at += chunk) {
      const size_t n = std::min(chunk, audio.size() - at);
      uint8_t *data = nullptr;
      RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, static_cast<uint32_t>(2 * n), &data));
      std::copy(audio.begin() + at, audio.begin() + at + n, reinterpret_cast<int16_t *>(data));
      ASSERT_EQ(measurer->WriteSample(s.get()), 0);
    }
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
}

TEST(MeasurerGuitar3, ReferenceComesFromTheConfigurationAndSurvivesStart) {
  Pipeline p;
  EXPECT_EQ(p.config->GetReferenceFrequency(), 440);
  p.config->SetReferenceFrequency(442);
  p.measurer->NotifyEvent(IFilter::kEventStop);
  p.measurer->SetStartPosition(0);
  p.measurer->NotifyEvent(IFilter::kEventStart);
  EXPECT_EQ(p.config->GetReferenceFrequency(), 442);
  p.Write(signals::Sine(110, 10000, 20000));
  ASSERT_FALSE(p.sink->received.empty());
  EXPECT_NEAR(p.sink->received.back().records[0].note, 44.92, 0.05);
}

TEST(MeasurerGuitar3, RestartKeepsTheWindowSoResultsResumeAtOnce) {
  Pipeline p;
  p.Write(signals::Sine(110, 10000, 20000));
  const size_t before = p.sink->received.size();
  p.measurer->NotifyEvent(IFilter::kEventStop);
  p.measurer->SetStartPosition(0);
  p.measurer->NotifyEvent(IFilter::kEventStart);
  EXPECT_EQ(p.measurer->Smoother().Window().size(), 14u);
  p.Write(signals::Sine(110, 10000, 3000), 1000);
  EXPECT_EQ(p.sink->received.size(), before + 1);  // the estimator's next note completes the window
}

TEST(MeasurerGuitar3, ResultsCarryTheLevelAfterTheBlock) {
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  RCPtr<IFilter> filter;
  factory->CreateMeasurer(&filter, nullptr);
  auto *m = static_cast<Measure3::MeasurerGuitar3 *>(filter.get());
  const std::vector<int16_t> tone = signals::Sine(200, 5000, 17000);
  for (int b = 0; b < 17; ++b) m->ProcessBlock(tone.data() + 1000 * b);
  ASSERT_EQ(m->GetResultCount(), 1u);
  Measure::Result r[1] = {};
  m->GetResults(r);
  EXPECT_EQ(r[0].level, m->CurrentLevel());
  EXPECT_EQ(m->GetResultCount(), 0u);
}

}  // namespace
