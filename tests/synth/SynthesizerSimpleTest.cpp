#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "general/AssertionRecord.h"
#include "synth/SynthesizerSimple.h"

namespace {

// Set up as the tone player does.
SynthesizerSimple Tuned(float frequency, float rate = 22050.0f, bool square = true) {
  SynthesizerSimple synth;
  synth.sampleRate = rate;
  synth.frequency = frequency;
  synth.level = 1.0f;
  synth.square = square ? 1 : 0;
  return synth;
}

std::vector<short> Render(SynthesizerSimple &synth, int count) {
  std::vector<short> out(count, 0x7777);
  synth.Render16m(out.data(), count);
  return out;
}

// One sample at a chosen envelope position and phase.
int SampleAt(float position, float phase, bool square = true) {
  SynthesizerSimple synth = Tuned(440.0f, 22050.0f, square);
  synth.envelopePos = position;
  synth.phase = phase;
  return Render(synth, 1)[0];
}

constexpr float kSecondHalf = 4.0f;  // a phase in [π, 2π): square gives +envelope
constexpr float kNan = std::numeric_limits<float>::quiet_NaN(), kInf = std::numeric_limits<float>::infinity();

TEST(SynthesizerSimple, FreshToneStartsSilentAndBlocksJoinSeamlessly) {
  for (bool square : {true, false}) {
    SynthesizerSimple once = Tuned(196.0f, 22050.0f, square), twice = once;
    std::vector<short> joined = Render(twice, 4096);
    EXPECT_EQ(joined[0], 0) << "square " << square;
    EXPECT_NE(joined[1], 0) << "square " << square;
    const std::vector<short> second = Render(twice, 4096);
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_EQ(Render(once, 8192), joined) << "square " << square;
    EXPECT_EQ(once.phase, twice.phase);
    EXPECT_EQ(once.envelopePos, twice.envelopePos);
    EXPECT_EQ(once.lastSample, twice.lastSample);
    EXPECT_EQ(once.lastSample, joined.back());
  }
}

TEST(SynthesizerSimple, SquareWaveIsNegativeThenPositiveInEveryPeriod) {
  const struct {
    float frequency, rate;
  } cases[] = {{82.40689f, 22050.0f}, {440.0f, 22050.0f}, {1318.51f, 22050.0f}, {440.0f, 8000.0f}};
  constexpr double pi = std::numbers::pi;
  for (const auto &c : cases) {
    SynthesizerSimple synth = Tuned(c.frequency, c.rate);
    const std::vector<short> out = Render(synth, 8192);
    // Compared with the exact phase; samples within a hair of a half-period
    // boundary may fall either way through single-precision accumulation.
    int negative = 0, positive = 0;
    for (int n = 1; n < 8192; ++n) {
      const double phase = std::fmod(n * (c.frequency * 2.0 * pi / c.rate), 2.0 * pi);
      if (std::fabs(phase - pi) < 0.02 || phase < 0.02 || phase > 2.0 * pi - 0.02) continue;
      ASSERT_NE(out[n], 0) << c.frequency << " Hz, sample " << n;
      ASSERT_EQ(out[n] < 0, phase < pi) << c.frequency << " Hz at " << c.rate << ", sample " << n;
      ++(phase < pi ? negative : positive);
    }
    EXPECT_NEAR(negative, positive, 8192 / 50) << c.frequency << " Hz";
  }
}

// At full envelope (position 4): sine is positive where square is negative,
// and rounds with floor(x + 0.5).
TEST(SynthesizerSimple, SineFollowsThePhaseAndRoundsHalfUp) {
  EXPECT_EQ(SampleAt(4.0f, 1.5707964f, true), -32767);
  EXPECT_EQ(SampleAt(4.0f, 1.5707964f, false), 32767);
  EXPECT_EQ(SampleAt(4.0f, 4.712389f, false), -32767);
  EXPECT_EQ(SampleAt(4.0f, 0.5235988f, false), 16384);  // 16383.5004
  EXPECT_EQ(SampleAt(4.0f, 3.8f, false), -20049);       // -20048.746
  EXPECT_EQ(SampleAt(4.0f, 3.1415927f, false), 0);      // a hair past π: -0.003
}

TEST(SynthesizerSimple, EnvelopeInterpolatesTruncatesAndIsSilentOutsideTheTable) {
  const struct {
    float position;
    int value;
  } cases[] = {{0.0f, 0},      {0.5f, 1800},  // 3601 / 2 = 1800.5, truncated
               {4.0f, 32767},  {5.0f, 32767},  {5.5f, 30256},  // halfway down to 27745
               {258.0f, 407},  {258.5f, 203},  // halfway from 407 to 0: 203.5, truncated
               {258.998f, 0},  {259.0f, 0},    {260.75f, 0},   {5000.0f, 0}, {3e9f, 0},
               {-0.5f, 0},     {-300.0f, 0},   {kNan, 0},      {kInf, 0},    {-kInf, 0}};
  for (const auto &c : cases) {
    EXPECT_EQ(SampleAt(c.position, kSecondHalf), c.value) << "position " << c.position;
    EXPECT_EQ(SampleAt(c.position, 0.0f), -c.value) << "position " << c.position;
  }
}

// A NaN frequency or a zero rate makes the phase non-finite; the sine must
// then be silent rather than an undefined float-to-int conversion.
TEST(SynthesizerSimple, NonFiniteSineIsSilent) {
  for (float rate : {22050.0f, 0.0f}) {
    SynthesizerSimple synth = Tuned(kNan, rate, false);
    synth.envelopePos = 4.0f;
    EXPECT_EQ(Render(synth, 16), std::vector<short>(16, 0)) << "rate " << rate;
    EXPECT_EQ(synth.lastSample, 0) << "rate " << rate;
  }
}

TEST(SynthesizerSimple, LevelIsOnlyValidatedAndOutOfRangeWritesNothing) {
  ScopedAssertionRecord record;
  SynthesizerSimple full = Tuned(440.0f), silent = Tuned(440.0f);
  silent.level = 0.0f;
  EXPECT_EQ(Render(silent, 2048), Render(full, 2048));
  EXPECT_FALSE(record.Raised());
  for (float level : {1.5f, -0.25f}) {
    SynthesizerSimple synth = Tuned(440.0f);
    synth.level = level;
    synth.phase = 1.25f;
    synth.envelopePos = 10.5f;
    synth.lastSample = 99;
    EXPECT_EQ(Render(synth, 64), std::vector<short>(64, 0x7777));
    EXPECT_EQ(synth.phase, 1.25f);
    EXPECT_EQ(synth.envelopePos, 10.5f);
    EXPECT_EQ(synth.lastSample, 99);
    EXPECT_STREQ(record->file, "SynthesizerSimple");
    EXPECT_EQ(record->line, 106);
    EXPECT_STREQ(record->function, "SynthesizerSimple::Render16m");
    record.Clear();
  }
}

// Summed in single precision, the position reaches 259 (from where the table
// is 0 for good) after 65 599 steps, 45 sooner than exact arithmetic would.
// Interpolating toward that 0 already truncates to 0 one sample earlier, so
// sample 65 598 is the first of the silent run.
TEST(SynthesizerSimple, EnvelopeRunsOutAfter65598SamplesAt22050) {
  SynthesizerSimple synth = Tuned(82.40689f);
  EXPECT_NE(Render(synth, 65598).back(), 0);  // sample 65 597
  EXPECT_LT(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 1)[0], 0);
  EXPECT_GE(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 4096), std::vector<short>(4096, 0));
}

}  // namespace
