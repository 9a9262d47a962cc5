#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSignals.h"
#include "measure/MainTone3.h"

namespace {

// Feeds the estimator tones block by block. Tones continue across blocks
// without phase jumps, so a change of frequency or loudness is the only
// event in the signal.
struct Driver {
  MainTone3 tone;
  std::vector<double> notes;
  int16_t level = 0;
  double phase = 0;

  void Tone(double hertz, double amplitude, int blocks = 1) {
    for (int b = 0; b < blocks; ++b) {
      std::vector<int16_t> samples(1000);
      for (int16_t &s : samples) {
        s = signals::Clip(amplitude * std::sin(phase));
        phase += 2 * signals::kPi * hertz / signals::kRate;
      }
      tone.Process(samples.data(), &notes, &level);
    }
  }
  void SetReference(double hz) { tone.referenceFrequency = hz; }
  // True when the next block completes a window that gets a full analysis.
  bool NextIsFull() const { return tone.Buffered() == 2000 && tone.HopCounter() == 0; }
};

TEST(MainTone3, SilenceFailsTheGateAndAnOnsetWaitsForTheNextFullAnalysis) {
  Driver d;
  d.Tone(0, 0, 2);
  EXPECT_TRUE(d.notes.empty()) << "the first note comes with the third block";
  d.Tone(0, 0);
  ASSERT_EQ(d.notes, std::vector<double>{0});
  EXPECT_EQ(d.level, 1);
  EXPECT_EQ(d.tone.Buffered(), 2000u);
  EXPECT_EQ(d.tone.HopCounter(), 1u);
  d.Tone(110, 10000, 5);
  ASSERT_EQ(d.notes.size(), 6u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.notes[i], 0) << i;  // four hops wait
  EXPECT_NEAR(d.notes[5], 45.0, 0.05);  // the fifth analyses; the window 1000 later confirms the onset
}

TEST(MainTone3, SineOf110HzIsNote45AtEitherReference) {
  for (double ref : {440.0, 442.0}) {
    Driver d;
    d.SetReference(ref);
    d.Tone(110, 10000, 40);
    EXPECT_NEAR(d.level, 7071, 40);
    for (size_t i = 0; i < d.notes.size(); ++i) EXPECT_NEAR(d.notes[i], ref == 440 ? 45.0 : 44.92, 0.05) << i;
  }
}

// The gate is 400 for an onset but 150 while a pitch is held: a note that
// fades to level 247 is followed, and the same quiet note alone is not heard.
TEST(MainTone3, AHeldNoteIsFollowedBelowTheOnsetGate) {
  Driver held, quiet;
  held.Tone(110, 10000, 10);
  held.Tone(110, 350, 30);
  EXPECT_NEAR(held.notes.back(), 45.0, 0.05);
  quiet.Tone(110, 350, 30);
  EXPECT_EQ(quiet.notes.back(), 0);
}

// Holds 110 Hz until a full analysis is two blocks away (the stretch since
// the full analysis before at `hold`), then plays the window that analysis
// sees and the one its second look sees. Whether a confirmed jump is a note
// dying away is judged against the level of two full analyses back.
TEST(MainTone3, SecondLookDecidesAboutAJump) {
  const struct {
    const char *what;
    double hold, hz1, amp1, hz2, amp2, note;
  } cases[] = {
      {"confirmed by the later window: accepted", 10000, 165, 10000, 165, 10000, 52.0},
      {"confirmed by a later window a semitone off: accepted", 10000, 165, 10000, 175, 10000, 52.0},
      {"contradicted by the later window: the held period stays", 10000, 165, 10000, 110, 10000, 45.0},
      {"contradicted by a quiet later window (247: the gate and the dip held to a pitch's)", 10000, 165, 10000, 110, 350,
       45.0},
      {"neither window agrees: no pitch", 10000, 165, 10000, 247, 10000, 0},
      {"quiet, then a loud attack: the later window", 10000, 165, 100, 220, 20000, 57.0},
      {"confirmed while dying away (7071 / 4808 >= 1.4): no pitch", 10000, 165, 6800, 165, 6800, 0},
      {"dying away from two analyses back (7071), not from the last (4950): no pitch", 7000, 165, 6800, 165, 6800,
       0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    Driver d;
    for (int fulls = 0; fulls < 2; d.Tone(110, 10000)) fulls += d.NextIsFull();
    d.Tone(110, c.hold, 10);  // the next full analysis comes 10 hops after the last one
    d.Tone(110, c.hold, 7);
    const double heldBefore = d.tone.HeldPeriod();
    d.Tone(c.hz1, c.amp1);
    d.Tone(c.hz2, c.amp2);
    ASSERT_TRUE(d.NextIsFull());
    d.Tone(c.hz2, c.amp2);
    if (c.note == 45.0)
      EXPECT_EQ(d.tone.HeldWholePeriod(), std::floor(heldBefore + 0.5));
    else
      EXPECT_NEAR(d.tone.HeldWholePeriod(), c.note ? 22050 / signals::Hertz(c.note) : 0, c.note ? 1 : 0);
    EXPECT_NEAR(d.notes.back(), c.note, c.note ? 0.3 : 0);
  }
}

TEST(MainTone3, TrackingFollowsAGlideBetweenFullAnalyses) {
  Driver d;
  double hz = 110;
  for (int i = 0; i < 60; ++i, hz *= std::pow(2.0, 0.05 / 12)) d.Tone(hz, 10000);  // five cents per hop
  // Three semitones in all, never more than two between full analyses. The
  // analysed window starts two blocks behind the newest one.
  EXPECT_NEAR(d.notes.back(), 69 + 12 * std::log2(hz / 440) - 3 * 0.05, 0.05);
}

TEST(MainTone3, ResetForgetsEverythingIncludingTheReference) {
  Driver d;
  d.SetReference(430);
  d.Tone(110, 10000, 5);
  ASSERT_NE(d.tone.HeldPeriod(), 0);
  d.tone.Reset();
  EXPECT_EQ(d.tone.Buffered(), 0u);
  EXPECT_EQ(d.tone.HeldPeriod(), 0);
  EXPECT_EQ(d.tone.HeldWholePeriod(), 0);
  EXPECT_EQ(d.tone.HopCounter(), 0u);
  EXPECT_EQ(d.tone.Level(), 1);
  EXPECT_EQ(d.tone.EarlierLevel(), 1);
  EXPECT_EQ(d.tone.referenceFrequency, 440);
}

}  // namespace
