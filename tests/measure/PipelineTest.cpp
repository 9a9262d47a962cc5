#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "MeasureHarness.h"
#include "TestSignals.h"
#include "general/CheckSites.h"
#include "measure/Calibration.h"
#include "measure/TunerDetectPitch.h"

namespace {

using Reports = std::vector<std::pair<double, double>>;

struct DetectorTest : ::testing::Test {
  void Update(double p, double r) { updates.push_back({p, r}); }
  void Stable(double p, double r) { stables.push_back({p, r}); }
  bool May() { return allow; }
  RCPtr<TunerDetectPitch> Make(bool asked) {
    TunerDetectPitch::Bindings b;
    b.onUpdate.Bind(this, &DetectorTest::Update);
    b.onStable.Bind(this, &DetectorTest::Stable);
    if (asked) b.mayReport.Bind(this, &DetectorTest::May);
    return RCPtr<TunerDetectPitch>(new TunerDetectPitch(&root, b));
  }
  // `count` pitches alternating between a and b, starting with a.
  void Feed(int count, double a, double b, double reference = 440) {
    for (int i = 0; i < count; ++i) detector->OnPitch(i % 2 ? b : a, reference);
  }
  Reports updates, stables;
  bool allow = true;
  UninitCaller root;
  RCPtr<TunerDetectPitch> detector = Make(false);
};

TEST_F(DetectorTest, MeanOfTheLastFifteenFromTheSixteenthAndStableOnEverySixteenthStableUpdate) {
  Feed(15, 45.0, 45.2);
  ASSERT_EQ(updates.size(), 15u);
  for (const auto &u : updates) EXPECT_EQ(u, std::make_pair(0.0, 440.0));
  Feed(15, 45.2, 45.0);
  EXPECT_NEAR(updates[15].first, 45.2 - 0.2 * 7 / 15, 1e-9);  // last 15: 8 × 45.2, 7 × 45.0
  EXPECT_EQ(detector->HistorySize(), 15u);
  EXPECT_TRUE(stables.empty());
  EXPECT_EQ(detector->StableCount(), 15u);
  Feed(1, 45.0, 45.2);  // the 16th stable update
  ASSERT_EQ(stables.size(), 1u);
  EXPECT_NEAR(stables[0].first, 45.1, 0.01);
  Feed(15, 45.2, 45.0);
  EXPECT_EQ(stables.size(), 1u);
  Feed(1, 45.0, 45.0);
  EXPECT_EQ(stables.size(), 2u);
}

TEST_F(DetectorTest, WideSpreadIsNeverStable) {
  Feed(60, 45.0, 45.8);
  EXPECT_TRUE(stables.empty());
  EXPECT_EQ(detector->StableCount(), 0u);
}

TEST_F(DetectorTest, ZeroPitchDropsTheOldestEntry) {
  Feed(16, 50, 50);
  EXPECT_NEAR(updates.back().first, 50, 1e-9);
  Feed(1, 0, 0);
  EXPECT_EQ(updates.back().first, 0);
  Feed(1, 50, 50);
  EXPECT_EQ(updates.back().first, 0) << "back to 15 entries only";
  Feed(1, 50, 50);
  EXPECT_NEAR(updates.back().first, 50, 1e-9);
}

TEST_F(DetectorTest, ReferenceOfTheCallConvertsTheStoredFrequencies) {
  Feed(16, 50, 50);
  Feed(1, 50, 50, 442);
  // 14 of the last 15 frequencies were stored at 440 and are read at 442.
  EXPECT_NEAR(updates.back().first, 50 + 12 * std::log2(440.0 / 442.0) * 14 / 15, 1e-9);
  EXPECT_EQ(updates.back().second, 442);
}

TEST_F(DetectorTest, RefusedStableReportsStillCount) {
  detector = Make(true);
  allow = false;
  Feed(40, 60, 60);
  EXPECT_TRUE(stables.empty());
  EXPECT_EQ(detector->StableCount(), 25u);
  allow = true;
  Feed(1, 60, 60);
  EXPECT_EQ(stables.size(), 1u);
  EXPECT_EQ(detector->StableCount(), 0u);
}

TEST(Calibration, MovesTheReferenceByTheDeviationFromTheNearestNote) {
  EXPECT_NEAR(CalibratedReference(69.3, 440), 447.69, 0.005);
  EXPECT_NEAR(CalibratedReference(40.0, 440), 440, 1e-12);
  EXPECT_NEAR(CalibratedReference(44.8, 442), 442 * std::pow(2.0, -0.2 / 12), 1e-12);
  EXPECT_NEAR(CalibratedReference(44.5, 440), 440 * std::pow(2.0, -0.5 / 12), 1e-12);  // floor(45.0) = 45
}

TEST(ProcessMeasure_H, TearDownStopsAndUnplugsTheMeasurer) {
  ScopedAssertionRecord record;
  RCPtr<IFilter> measurer;
  {
    UninitCaller root;
    RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
    RCPtr<ProcessMeasure_H> pipeline(new ProcessMeasure_H(&root, ProcessMeasure_H::ResultDelegate(), factory.get()));
    measurer = pipeline->Measurer();
    EXPECT_EQ(pipeline->GetReferenceFrequency(), 440);
    pipeline->OnSample(AudioSample(signals::Sine(196, 9000, 17000), 0, 17000).get());
    EXPECT_STREQ(record->file, "Delegate_N1") << "results for an unbound delegate";
    EXPECT_EQ(record->line, CheckSites::kCallUnboundVoid.line);
  }
  auto *base = dynamic_cast<BaseFilter *>(measurer.get());
  ASSERT_NE(base, nullptr);
  EXPECT_EQ(base->GetState(), BaseFilter::kStopped);
  EXPECT_EQ(base->PinCount(), 0u);
}

}  // namespace
