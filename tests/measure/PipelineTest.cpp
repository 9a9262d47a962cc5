#include <gtest/gtest.h>

#include <vector>

#include "TestSignals.h"
#include "filters/MediaSample.h"
#include "general/UninitCaller.h"
#include "measure/Calibration.h"
#include "measure/GuitarFactory.h"
#include "measure/ProcessMeasure_H.h"
#include "measure/TunerDetectPitch.h"

namespace {

struct Calls {
  std::vector<std::pair<double, double>> updates, stables;
  bool allow = true;
  void Update(double p, double r) { updates.push_back({p, r}); }
  void Stable(double p, double r) { stables.push_back({p, r}); }
  bool May() { return allow; }
};

struct DetectorTest : ::testing::Test {
  DetectorTest() {
    TunerDetectPitch::Bindings b;
    b.onUpdate.Bind(&calls, &Calls::Update);
    b.onStable.Bind(&calls, &Calls::Stable);
    detector = new TunerDetectPitch(&root, b);
  }
  Calls calls;
  UninitCaller root;
  RCPtr<TunerDetectPitch> detector;
};

TEST_F(DetectorTest, FifteenPitchesAreNotEnoughTheSixteenthGivesAMean) {
  for (int i = 0; i < 15; ++i) detector->OnPitch(45.0 + (i % 2) * 0.2, 440);
  ASSERT_EQ(calls.updates.size(), 15u);
  for (const auto &u : calls.updates) EXPECT_EQ(u, std::make_pair(0.0, 440.0));
  detector->OnPitch(45.2, 440);
  EXPECT_NEAR(calls.updates.back().first, 45.2 - 0.2 * 7 / 15, 1e-9);  // last 15: 8 × 45.2, 7 × 45.0
  EXPECT_EQ(detector->HistorySize(), 15u);
}

TEST_F(DetectorTest, StableOnTheSixteenthStableUpdateAndAgainSixteenLater) {
  for (int i = 0; i < 30; ++i) detector->OnPitch(i % 2 ? 45.2 : 45.0, 440);
  EXPECT_TRUE(calls.stables.empty());
  EXPECT_EQ(detector->StableCount(), 15u);
  detector->OnPitch(45.2, 440);  // the 31st pitch: 16th stable update
  ASSERT_EQ(calls.stables.size(), 1u);
  EXPECT_NEAR(calls.stables[0].first, 45.1, 0.01);
  for (int i = 0; i < 15; ++i) detector->OnPitch(i % 2 ? 45.2 : 45.0, 440);
  EXPECT_EQ(calls.stables.size(), 1u);
  detector->OnPitch(45.0, 440);
  EXPECT_EQ(calls.stables.size(), 2u);
}

TEST_F(DetectorTest, WideSpreadIsNotStable) {
  for (int i = 0; i < 60; ++i) detector->OnPitch(i % 2 ? 45.8 : 45.0, 440);
  EXPECT_TRUE(calls.stables.empty());
  EXPECT_EQ(detector->StableCount(), 0u);
}

TEST_F(DetectorTest, ZeroPitchDropsTheOldestEntry) {
  for (int i = 0; i < 16; ++i) detector->OnPitch(50, 440);
  EXPECT_NE(calls.updates.back().first, 0);
  detector->OnPitch(0, 440);
  EXPECT_EQ(calls.updates.back().first, 0);
  detector->OnPitch(50, 440);
  EXPECT_EQ(calls.updates.back().first, 0);  // back to 15 entries only
  detector->OnPitch(50, 440);
  EXPECT_NEAR(calls.updates.back().first, 50, 1e-9);
}

TEST_F(DetectorTest, ReferenceOfTheCallConvertsTheStoredFrequencies) {
  for (int i = 0; i < 16; ++i) detector->OnPitch(50, 440);
  detector->OnPitch(50, 442);
  // 15 frequencies stored at 440 and read at 442, one stored and read at 442.
  const double shift = 12 * std::log2(440.0 / 442.0);
  EXPECT_NEAR(calls.updates.back().first, 50 + shift * 14 / 15, 1e-9);
  EXPECT_EQ(calls.updates.back().second, 442);
}

TEST_F(DetectorTest, RefusedReportsStillCount) {
  TunerDetectPitch::Bindings b;
  b.onStable.Bind(&calls, &Calls::Stable);
  b.onUpdate.Bind(&calls, &Calls::Update);
  b.mayReport.Bind(&calls, &Calls::May);
  RCPtr<TunerDetectPitch> d(new TunerDetectPitch(&root, b));
  calls.allow = false;
  for (int i = 0; i < 40; ++i) d->OnPitch(60, 440);
  EXPECT_TRUE(calls.stables.empty());
  EXPECT_EQ(d->StableCount(), 25u);
  calls.allow = true;
  d->OnPitch(60, 440);
  EXPECT_EQ(calls.stables.size(), 1u);
  EXPECT_EQ(d->StableCount(), 0u);
}

TEST(Calibration, MovesTheReferenceByTheDeviation) {
  EXPECT_NEAR(CalibratedReference(69.3, 440), 447.69, 0.005);
  EXPECT_NEAR(CalibratedReference(40.0, 440), 440, 1e-12);
  EXPECT_NEAR(CalibratedReference(44.8, 442), 442 * std::pow(2.0, -0.2 / 12), 1e-12);
  EXPECT_NEAR(CalibratedReference(44.5, 440), 440 * std::pow(2.0, -0.5 / 12), 1e-12);  // floor(45.0) = 45
}

struct Sink {
  std::vector<Measure::Result> results;
  std::vector<unsigned> counts;
  void On(const Measure::Result *r, unsigned n) {
    counts.push_back(n);
    results.insert(results.end(), r, r + n);
  }
};

TEST(ProcessMeasure_H, CapturedSamplesComeBackAsResults) {
  Sink sink;
  std::vector<int16_t> tone = signals::Sine(196, 9000, 22050);
  {
    UninitCaller root;
    RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
    RCPtr<ProcessMeasure_H> pipeline(new ProcessMeasure_H(
        &root, MakeDelegate<void(const Measure::Result *, unsigned int)>(&sink, &Sink::On), factory.get()));
    EXPECT_EQ(pipeline->GetState(), BaseFilter::kRunning);
    pipeline->SetReferenceFrequency(441);
    EXPECT_EQ(pipeline->GetReferenceFrequency(), 441);
    for (size_t at = 0; at < tone.size(); at += 2205) {
      uint8_t *data = nullptr;
      RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 2 * 2205, &data));
      std::copy(tone.begin() + at, tone.begin() + at + 2205, reinterpret_cast<int16_t *>(data));
      EXPECT_EQ(pipeline->WriteCaptured(s.get()), 0);
    }
    EXPECT_EQ(sink.results.size(), 22u - 16u);  // 22 whole blocks, the first 16 make none
    for (unsigned n : sink.counts) EXPECT_EQ(n, 1u);
    for (const auto &r : sink.results) EXPECT_NEAR(r.note, 55 + 12 * std::log2(440.0 / 441), 0.05);
    RCPtr<IFilter> measurer(pipeline->Measurer());
    // Tear-down stops the measurer and breaks the pin's reference cycle.
  }
}

TEST(ProcessMeasure_H, UnboundResultDelegateIsRecorded) {
  ScopedAssertionRecord record;
  UninitCaller root;
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  RCPtr<ProcessMeasure_H> pipeline(new ProcessMeasure_H(&root, ProcessMeasure_H::ResultDelegate(), factory.get()));
  std::vector<int16_t> tone = signals::Sine(196, 9000, 17000);
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, 34000, &data));
  std::copy(tone.begin(), tone.end(), reinterpret_cast<int16_t *>(data));
  pipeline->OnSample(s.get());
  EXPECT_STREQ(record->file, "Delegate_N1");
  EXPECT_EQ(record->line, 52);
}

TEST(ProcessMeasure_H, TearDownStopsAndUnplugsTheMeasurer) {
  Sink sink;
  RCPtr<IFilter> measurer;
  {
    UninitCaller root;
    RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
    RCPtr<ProcessMeasure_H> pipeline(new ProcessMeasure_H(
        &root, MakeDelegate<void(const Measure::Result *, unsigned int)>(&sink, &Sink::On), factory.get()));
    measurer = pipeline->Measurer();
  }
  auto *base = dynamic_cast<BaseFilter *>(measurer.get());
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(base->GetState(), BaseFilter::kStopped);
  EXPECT_EQ(base->PinCount(), 0u);
}

}  // namespace
