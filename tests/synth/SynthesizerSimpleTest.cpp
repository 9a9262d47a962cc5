#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "general/AssertionRecord.h"
#include "general/RCPtr.h"
#include "synth/SynthesizerSimple.h"

namespace {

// Set up as the tone player does.
void Tune(SynthesizerSimple &synth, float frequency, float rate = 22050.0f) {
  synth.sampleRate = rate;
  synth.frequency = frequency;
  synth.level = 1.0f;
  synth.square = 1;
}

std::vector<short> Render(SynthesizerSimple &synth, int count) {
  std::vector<short> out(count, 0x7777);
  synth.Render16m(out.data(), count);
  return out;
}

// One sample at a chosen envelope position and phase.
int SampleAt(float position, float phase, bool square = true) {
  SynthesizerSimple synth;
  Tune(synth, 440.0f);
  synth.square = square ? 1 : 0;
  synth.envelopePos = position;
  synth.phase = phase;
  return Render(synth, 1)[0];
}

constexpr float kSecondHalf = 4.0f;  // a phase in [π, 2π): square gives +envelope

TEST(SynthesizerSimple, FreshToneStartsSilent) {
  for (std::uint8_t square : {1, 0}) {
    SynthesizerSimple synth;
    Tune(synth, 440.0f);
    synth.square = square;
    const std::vector<short> out = Render(synth, 2);
    EXPECT_EQ(out[0], 0) << "square " << int(square);
    EXPECT_NE(out[1], 0) << "square " << int(square);
    EXPECT_EQ(synth.lastSample, out[1]);
  }
}

TEST(SynthesizerSimple, SquareWaveIsNegativeThenPositiveInEveryPeriod) {
  struct Case { float frequency, rate; } cases[] = {
      {82.40689f, 22050.0f}, {440.0f, 22050.0f}, {1318.51f, 22050.0f}, {440.0f, 8000.0f}};
  for (const Case &c : cases) {
    SynthesizerSimple synth;
    Tune(synth, c.frequency, c.rate);
    const std::vector<short> out = Render(synth, 8192);
    // Compare with the exact phase; samples within a hair of a half-period
    // boundary may fall either way through single-precision accumulation.
    constexpr double pi = std::numbers::pi;
    const double step = c.frequency * 2.0 * pi / c.rate;
    int negative = 0, positive = 0;
    for (int n = 1; n < 8192; ++n) {
      const double phase = std::fmod(n * step, 2.0 * pi);
      if (std::fabs(phase - pi) < 0.02 || phase < 0.02 || phase > 2.0 * pi - 0.02) continue;
      ASSERT_NE(out[n], 0) << c.frequency << " Hz, sample " << n;
      const bool firstHalf = phase < pi;
      ASSERT_EQ(out[n] < 0, firstHalf) << c.frequency << " Hz at " << c.rate << ", sample " << n;
      ++(firstHalf ? negative : positive);
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
  EXPECT_EQ(SampleAt(4.0f, 0.5235988f, false), 16384);   // 16383.5004
  EXPECT_EQ(SampleAt(4.0f, 3.8f, false), -20049);        // -20048.746
  EXPECT_EQ(SampleAt(4.0f, 3.1415927f, false), 0);       // a hair past π: -0.003
}

TEST(SynthesizerSimple, EnvelopeInterpolatesAndTruncates) {
  struct Case { float position; int value; } cases[] = {
      {0.0f, 0},        {0.5f, 1800},  // 3601 / 2 = 1800.5, truncated
      {4.0f, 32767},    {5.0f, 32767},  {5.5f, 30256},  // halfway down to 27745
      {258.0f, 407},    {258.5f, 203},  // halfway from 407 to 0: 203.5, truncated
      {258.998f, 0},    {259.0f, 0},    {259.5f, 0},  {260.0f, 0}, {260.75f, 0}, {5000.0f, 0}};
  for (const Case &c : cases) {
    EXPECT_EQ(SampleAt(c.position, kSecondHalf), c.value) << "position " << c.position;
    EXPECT_EQ(SampleAt(c.position, 0.0f), -c.value) << "position " << c.position;
  }
}

TEST(SynthesizerSimple, PositionsOutsideTheTableAreSilent) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  for (float position : {-0.5f, -1.0f, -300.0f, nan, inf, -inf, 3e9f})
    EXPECT_EQ(SampleAt(position, kSecondHalf), 0) << "position " << position;
}

// A NaN frequency or a zero rate makes the phase non-finite; the sine must
// then be silent rather than an undefined float-to-int conversion.
TEST(SynthesizerSimple, NonFiniteSineIsSilent) {
  for (float rate : {22050.0f, 0.0f}) {
    SynthesizerSimple synth;
    Tune(synth, std::numeric_limits<float>::quiet_NaN(), rate);
    synth.square = 0;
    synth.envelopePos = 4.0f;
    EXPECT_EQ(Render(synth, 16), std::vector<short>(16, 0)) << "rate " << rate;
    EXPECT_EQ(synth.lastSample, 0) << "rate " << rate;
  }
}

TEST(SynthesizerSimple, LevelOutOfRangeWritesNothingAndKeepsState) {
  for (float level : {1.5f, -0.25f}) {
    ScopedAssertionRecord record;
    SynthesizerSimple synth;
    Tune(synth, 440.0f);
    synth.level = level;
    synth.phase = 1.25f;
    synth.envelopePos = 10.5f;
    synth.lastSample = 99;
    const std::vector<short> out = Render(synth, 64);
    EXPECT_EQ(out, std::vector<short>(64, 0x7777));
    EXPECT_EQ(synth.phase, 1.25f);
    EXPECT_EQ(synth.envelopePos, 10.5f);
    EXPECT_EQ(synth.lastSample, 99);
    ASSERT_TRUE(record.Raised());
    EXPECT_STREQ(record->file, "SynthesizerSimple");
    EXPECT_EQ(record->line, 106);
    EXPECT_STREQ(record->function, "SynthesizerSimple::Render16m");
  }
}

TEST(SynthesizerSimple, LevelBoundsAreValidButLevelIsNotApplied) {
  ScopedAssertionRecord record;
  SynthesizerSimple full, silent;
  Tune(full, 440.0f);
  Tune(silent, 440.0f);
  silent.level = 0.0f;
  EXPECT_EQ(Render(silent, 2048), Render(full, 2048));
  EXPECT_FALSE(record.Raised());
}

TEST(SynthesizerSimple, BlocksJoinSeamlessly) {
  for (std::uint8_t square : {1, 0}) {
    SynthesizerSimple once, twice;
    Tune(once, 196.0f);
    Tune(twice, 196.0f);
    once.square = twice.square = square;
    std::vector<short> joined = Render(twice, 4096);
    const std::vector<short> second = Render(twice, 4096);
    joined.insert(joined.end(), second.begin(), second.end());
    EXPECT_EQ(Render(once, 8192), joined) << "square " << int(square);
    EXPECT_EQ(once.phase, twice.phase);
    EXPECT_EQ(once.envelopePos, twice.envelopePos);
    EXPECT_EQ(once.lastSample, twice.lastSample);
  }
}

// Summed in single precision, the position reaches 259 (from where the table
// is 0 for good) after 65 599 steps, 45 sooner than exact arithmetic would.
// Interpolating toward that 0 already truncates to 0 one sample earlier, so
// sample 65 598 is the first of the silent run.
TEST(SynthesizerSimple, EnvelopeRunsOutAfter65599SamplesAt22050) {
  SynthesizerSimple synth;
  Tune(synth, 82.40689f);
  const std::vector<short> tone = Render(synth, 65598);
  EXPECT_NE(tone.back(), 0);  // sample 65 597
  EXPECT_LT(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 1)[0], 0);  // sample 65 598
  EXPECT_GE(synth.envelopePos, 259.0f);
  EXPECT_EQ(Render(synth, 4096), std::vector<short>(4096, 0));
}

TEST(SynthesizerSimple, WorksCountedAndAsAPlainMember) {
  SynthesizerSimple plain;
  Tune(plain, 329.63f);
  RCPtr<SynthesizerSimple> counted = MakeRC<SynthesizerSimple>();
  Tune(*counted, 329.63f);
  EXPECT_EQ(counted->RefCount(), 1);
  std::vector<short> out(1000);
  counted->Render16m(out.data(), 1000);
  EXPECT_EQ(out, Render(plain, 1000));
  EXPECT_EQ(plain.RefCount(), 0);
}

}  // namespace
