#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SyntheticStrum.h"
#include "strum/StrumAnalyzer.h"
#include "strum/StrumTracker.h"

namespace {

using Strum::StrumTracker;

Strum::StrumReading Analyze(Strum::StrumAnalyzer &analyzer, const synthetic::Strum &strum) {
  return analyzer.Analyze(strum.samples.data() + strum.onset + StrumTracker::kLead, StrumTracker::kStretch);
}

double Cents(double hertz, double truth) { return 1200 * std::log2(hertz / truth); }

// Every heard string's figures agree with one another and with the target.
void ExpectConsistent(const Strum::StringReading &r, int target, double reference) {
  if (!r.heard) return;
  EXPECT_NEAR(r.note, 69 + 12 * std::log2(r.hertz / reference), 1e-9);
  EXPECT_EQ(r.nearest, static_cast<int>(std::floor(r.note + 0.5)));
  EXPECT_NEAR(r.cents, 100 * (r.note - target), 1e-9);
  EXPECT_GT(r.level, 0);
}

// Thirty strums of a standard-tuned guitar, each string detuned at random
// by up to 40 cents, down and up strokes, none, one or two strings muted:
// no muted string is heard, no string takes another's sound, and the
// strings heard read within a fraction of a cent.
TEST(StrumAnalyzer, ReadsRandomStrumsInStandardTuning) {
  Strum::StrumAnalyzer analyzer{Measure::Tuning{}};
  std::vector<double> errors;
  int ringing = 0;
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    synthetic::StrumSettings settings;
    settings.muted = static_cast<int>(seed % 3);
    settings.upStroke = seed % 2;
    const synthetic::Strum strum = synthetic::MakeStrum(seed, settings);
    const Strum::StrumReading reading = Analyze(analyzer, strum);
    for (int s = 0; s < 6; ++s) {
      const Strum::StringReading &r = reading.strings[s];
      const synthetic::StringTruth &truth = strum.strings[s];
      SCOPED_TRACE(testing::Message() << "seed " << seed << " string " << s + 1);
      ExpectConsistent(r, settings.targets[s], 440);
      if (truth.muted) {
        EXPECT_FALSE(r.heard);
        continue;
      }
      ++ringing;
      if (!r.heard) continue;
      EXPECT_LT(std::abs(Cents(r.hertz, truth.hertz)), 50);
      EXPECT_NEAR(r.cents, truth.cents, 50);
      errors.push_back(std::abs(Cents(r.hertz, truth.hertz)));
    }
  }
  std::sort(errors.begin(), errors.end());
  EXPECT_GE(errors.size(), ringing * 9 / 10) << "strings heard of " << ringing;
  EXPECT_LT(errors[errors.size() / 2], 0.1);
  EXPECT_LT(errors[errors.size() * 95 / 100], 1.0);
}

// A guitar in tune, strummed again and again while it rings: B3 and E4 lie
// on E2's and A2's harmonics and have no partial to themselves, yet when
// they ring nearly all are heard (by their attacks) and read as closely as
// the others, and when they are muted (one, the other, or both, while they
// rang from the strum before) they are never heard.
TEST(StrumAnalyzer, HearsHiddenInTuneStringsThatRingAndNotThoseMuted) {
  constexpr int kB3 = 4, kE4 = 5;
  std::vector<synthetic::Strike> strikes;
  for (int k = 0; k < 16; ++k) {
    synthetic::StrumSettings settings;
    settings.detune = 0;
    settings.upStroke = k % 2;
    settings.mute[kB3] = k % 4 == 1 || k % 4 == 3;
    settings.mute[kE4] = k % 4 >= 2;
    strikes.push_back({0.3 + 1.1 * k, 500 + static_cast<uint64_t>(k), settings});
  }
  const synthetic::Recording recording = synthetic::MakeRecording(strikes, 0.3 + 1.1 * 16 + 0.5);
  const std::vector<Strum::StrumReading> readings =
      Strum::FindStrums(Measure::Tuning{}, recording.samples.data(), recording.samples.size());
  ASSERT_EQ(readings.size(), strikes.size());
  int hidden = 0, hiddenHeard = 0;
  for (size_t k = 0; k < readings.size(); ++k) {
    const synthetic::Strum &truth = recording.strums[k];
    EXPECT_NEAR(readings[k].onset, static_cast<double>(truth.onset), 0.03 * synthetic::kRate);
    for (int s = 0; s < 6; ++s) {
      SCOPED_TRACE(testing::Message() << "strum " << k << " string " << s + 1);
      const Strum::StringReading &r = readings[k].strings[s];
      if (truth.strings[s].muted) {
        EXPECT_FALSE(r.heard);
        continue;
      }
      if (s == kB3 || s == kE4) ++hidden, hiddenHeard += r.heard;
      else EXPECT_TRUE(r.heard);
      if (r.heard) {
        EXPECT_LT(std::abs(Cents(r.hertz, truth.strings[s].hertz)), 1.0);
      }
    }
  }
  EXPECT_GE(hiddenHeard, hidden * 7 / 8) << "of " << hidden << " B3 and E4 ringing";
}

// Strings far off are found within their own ranges and named by the note
// nearest to them; in another tuning and at another reference the
// deviations count from that tuning's notes at that reference.
TEST(StrumAnalyzer, NamesFarOffStringsInAnyTuningAndReference) {
  struct Case {
    const char *tuning;
    double reference;
    std::array<double, 6> cents;
  } cases[] = {
      {"standard", 440, {75, -130, 0, 180, -60, 20}},
      {"dadgad", 442, {-10, 30, 90, -5, -90, 15}},
      {"open-g", 438, {160, -40, 0, 25, -80, -130}},
  };
  for (const Case &c : cases) {
    Measure::Tuning tuning;
    std::string error;
    ASSERT_TRUE(Measure::ParseTuning(c.tuning, &tuning, &error));
    synthetic::StrumSettings settings;
    std::copy(tuning.notes.begin(), tuning.notes.end(), settings.targets.begin());
    settings.reference = c.reference;
    settings.cents = c.cents;
    const synthetic::Strum strum = synthetic::MakeStrum(77, settings);
    Strum::StrumAnalyzer analyzer(tuning, c.reference);
    const Strum::StrumReading reading = Analyze(analyzer, strum);
    for (int s = 0; s < 6; ++s) {
      SCOPED_TRACE(testing::Message() << c.tuning << " string " << s + 1);
      const Strum::StringReading &r = reading.strings[s];
      ExpectConsistent(r, tuning.notes[s], c.reference);
      ASSERT_TRUE(r.heard);
      EXPECT_NEAR(r.cents, c.cents[s], 1.0);
      EXPECT_EQ(r.nearest, static_cast<int>(std::floor(tuning.notes[s] + c.cents[s] / 100 + 0.5)));
    }
  }
}

// Silence, noise and stretches too short to read hear nothing and do no harm.
TEST(StrumAnalyzer, HearsNothingInSilenceNoiseOrTooLittleSound) {
  Strum::StrumAnalyzer analyzer{Measure::Tuning{}};
  std::vector<int16_t> silence(StrumTracker::kStretch), noise(StrumTracker::kStretch);
  synthetic::Random random(3);
  for (int16_t &v : noise) v = static_cast<int16_t>(random.Uniform(-3000, 3000));
  EXPECT_EQ(analyzer.Analyze(silence.data(), static_cast<int>(silence.size())).Heard(), 0);
  EXPECT_EQ(analyzer.Analyze(noise.data(), static_cast<int>(noise.size())).Heard(), 0);
  const synthetic::Strum strum = synthetic::MakeStrum(5, {});
  EXPECT_EQ(analyzer.Analyze(strum.samples.data() + strum.onset, 10).Heard(), 0);
  EXPECT_EQ(analyzer.Analyze(strum.samples.data() + strum.onset, 0).Heard(), 0);
}

}  // namespace
