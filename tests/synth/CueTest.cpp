// The cue's rules and its sound: when it clicks and chimes, and that all
// it plays lies where the tuner's guard cuts it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "filters/ButterworthLowPass.h"
#include "synth/CueTracker.h"
#include "synth/CueVoice.h"

namespace {

TEST(CueTest, TheChimeComesOnceAfterHalfASecondInTheZoneAndAgainOnlyAfterLeavingIt) {
  CueTracker t;
  EXPECT_EQ(t.Reading(false, 0, 1, 0.0).clicksPerSecond, 0);
  int chimes = 0;
  double at = -1;
  // In the zone from 0.1 s, out at 1.5 s for a reading, back at 1.55 s.
  for (double s = 0.1; s < 3; s += 0.05) {
    const bool out = s > 1.49 && s < 1.51;
    const CueTracker::Step step = t.Reading(true, out ? 2.0 : 0.4, 1, s);
    EXPECT_NEAR(step.clicksPerSecond, CueTracker::ClicksPerSecond(out ? 2.0 : 0.4), 1e-12);
    if (step.chime) {
      ++chimes;
      if (at < 0) at = s;
    }
  }
  EXPECT_EQ(chimes, 2);
  EXPECT_NEAR(at, 0.6, 1e-9);
  // A lost note re-arms it too; a reading that is not a number is none.
  EXPECT_EQ(t.Reading(false, 0, 1, 3.0).clicksPerSecond, 0);
  EXPECT_EQ(t.Reading(true, std::nan(""), 1, 3.05).clicksPerSecond, 0);
  EXPECT_DOUBLE_EQ(CueTracker::ClicksPerSecond(0), 1);
  EXPECT_DOUBLE_EQ(CueTracker::ClicksPerSecond(-50), 10);
  EXPECT_DOUBLE_EQ(CueTracker::ClicksPerSecond(400), 10);
  EXPECT_LT(CueTracker::ClicksPerSecond(1), CueTracker::ClicksPerSecond(2));
}

TEST(CueTest, ClicksKeepTheirPaceAcrossBlocksAndAllTheCueSaysLiesAboveTheGuardsCorner) {
  CueVoice v(22050);
  EXPECT_TRUE(v.Quiet());
  v.SetClicksPerSecond(4);
  v.Chime();
  std::vector<short> all;
  std::vector<CueVoice::Moment> moments;
  short block[1000];
  for (int b = 0; b < 44; ++b) {
    std::vector<CueVoice::Moment> these;
    v.Render(block, 1000, &these);
    for (CueVoice::Moment m : these) moments.push_back({m.kind, m.offset + 1000 * b});
    all.insert(all.end(), block, block + 1000);
  }
  ASSERT_EQ(moments.size(), 9u);  // a chime and eight clicks in two seconds
  EXPECT_EQ(moments[0].kind, CueVoice::Moment::kChime);
  for (size_t i = 2; i < moments.size(); ++i) EXPECT_NEAR(moments[i].offset - moments[i - 1].offset, 5512.5, 1);
  double peak = 0, energy = 0, kept = 0;
  for (short s : all) {
    peak = std::max(peak, std::abs(static_cast<double>(s)));
    energy += static_cast<double>(s) * s;
  }
  EXPECT_LT(peak, 32768 / 8.0) << "soft: under -18 dBFS";
  std::vector<int16_t> cut(all.size());
  ButterworthLowPass guard(2800, 22050);
  guard.Process(all.data(), cut.data(), static_cast<int>(all.size()));
  for (int16_t s : cut) kept += static_cast<double>(s) * s;
  EXPECT_LT(10 * std::log10(kept / energy), -40) << "the guard leaves too much of the cue";
  v.SetClicksPerSecond(0);
  v.Render(block, 1000, nullptr);
  EXPECT_TRUE(v.Quiet());
}

TEST(CueTest, TheGuardLeavesAGuitarsRangeAsItIs) {
  for (double hertz : {82.41, 329.6, 1318.5}) {
    ButterworthLowPass guard(2800, 22050);
    std::vector<int16_t> in(22050), out(22050);
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<int16_t>(std::lround(10000 * std::sin(2 * M_PI * hertz * i / 22050)));
    guard.Process(in.data(), out.data(), static_cast<int>(in.size()));
    double a = 0, b = 0;
    for (size_t i = 11025; i < in.size(); ++i) {
      a += static_cast<double>(in[i]) * in[i];
      b += static_cast<double>(out[i]) * out[i];
    }
    EXPECT_NEAR(10 * std::log10(b / a), 0, 0.1) << hertz;
  }
}

}  // namespace
