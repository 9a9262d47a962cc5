#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "SyntheticStrum.h"
#include "strum/StrumTracker.h"

namespace {

using Strum::StrumReading;

using synthetic::Recording;

synthetic::Strike Strike(double time, uint64_t seed, int muted) {
  synthetic::StrumSettings settings;
  settings.muted = muted;
  settings.upStroke = seed % 2;
  return {time, seed, settings};
}

std::vector<StrumReading> Stream(const Recording &recording, uint64_t seed, size_t largest) {
  Strum::StrumTracker tracker{Measure::Tuning{}};
  synthetic::Random random(seed);
  std::vector<StrumReading> readings;
  for (size_t at = 0; at < recording.samples.size();) {
    const size_t block = std::min(recording.samples.size() - at, 1 + static_cast<size_t>(random.Next() % largest));
    tracker.Feed(recording.samples.data() + at, block, &readings);
    at += block;
  }
  tracker.Finish(&readings);
  return readings;
}

void ExpectSame(const std::vector<StrumReading> &a, const std::vector<StrumReading> &b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].onset, b[i].onset);
    for (int s = 0; s < 6; ++s) {
      EXPECT_EQ(a[i].strings[s].heard, b[i].strings[s].heard);
      EXPECT_EQ(a[i].strings[s].hertz, b[i].strings[s].hertz);
    }
  }
}

// Silence, a strum, one string struck among five muted (a strum of one
// string), a strum cut short by the next 0.7 s later, and a last strum the
// recording ends 0.5 s into: five readings, each dated at its first attack,
// each out within a second of it, the same whether the sound comes in
// capture buffers, in blocks of any size or whole.
TEST(StrumTracker, FindsEachStrumOnceAndReadsItWithinASecond) {
  Recording recording = synthetic::MakeRecording(
      {Strike(0.5, 21, 0), Strike(2.5, 22, 5), Strike(4.0, 23, 1), Strike(4.7, 24, 2), Strike(6.7, 25, 0)}, 7.3);

  const std::vector<StrumReading> buffers = Stream(recording, 1, 2205);
  ASSERT_EQ(buffers.size(), recording.strums.size());
  for (size_t i = 0; i < buffers.size(); ++i) {
    SCOPED_TRACE(testing::Message() << "strum " << i);
    const synthetic::Strum &truth = recording.strums[i];
    EXPECT_NEAR(static_cast<double>(buffers[i].onset), static_cast<double>(truth.onset), 0.03 * synthetic::kRate);
    EXPECT_LE(buffers[i].ready - buffers[i].onset, static_cast<int64_t>(synthetic::kRate));
    EXPECT_GE(buffers[i].Heard(), i == 1 ? 1 : 3);
    for (int s = 0; s < 6; ++s) {
      const Strum::StringReading &r = buffers[i].strings[s];
      if (truth.strings[s].muted) {
        EXPECT_FALSE(r.heard) << "string " << s + 1;
      } else if (r.heard) {
        EXPECT_NEAR(r.hertz, truth.strings[s].hertz, truth.strings[s].hertz * 0.002) << "string " << s + 1;
      }
    }
  }
  ExpectSame(buffers, Stream(recording, 2, 5000));
  ExpectSame(buffers, Stream(recording, 3, 40000));
  ExpectSame(buffers, Strum::FindStrums(Measure::Tuning{}, recording.samples.data(), recording.samples.size()));
}

// Nothing but silence and noise: no strum.
TEST(StrumTracker, FindsNoStrumInSilenceOrSteadyNoise) {
  std::vector<int16_t> quiet(3 * 22050);
  synthetic::Random random(9);
  for (size_t i = quiet.size() / 2; i < quiet.size(); ++i) quiet[i] = static_cast<int16_t>(random.Uniform(-200, 200));
  EXPECT_TRUE(Strum::FindStrums(Measure::Tuning{}, quiet.data(), quiet.size()).empty());
  EXPECT_TRUE(Strum::FindStrums(Measure::Tuning{}, quiet.data(), 0).empty());
}

}  // namespace
