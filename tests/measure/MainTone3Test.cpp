#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "LiteralTone.h"
#include "TestSignals.h"
#include "measure/MainTone3.h"

namespace {

// Continues a tone across blocks without phase jumps, so a change of
// frequency or loudness is the only event in the signal.
struct ToneSource {
  double phase = 0;
  std::vector<int16_t> Block(double hertz, double amplitude) {
    std::vector<int16_t> b(1000);
    for (int16_t &s : b) {
      s = signals::Clip(amplitude * std::sin(phase));
      phase += 2 * signals::kPi * hertz / signals::kRate;
    }
    return b;
  }
};

// Feeds the estimator and the literal rules side by side and insists they agree.
struct Driver {
  MainTone3 tone;
  literal::Tone reference;
  std::vector<double> notes, expected;
  int16_t level = 0, expectedLevel = 0;
  int calls = 0;

  void Feed(const std::vector<int16_t> &block) {
    tone.Process(block.data(), &notes, &level);
    reference.Process(block.data(), &expected, &expectedLevel);
    ++calls;
    ASSERT_EQ(notes.size(), expected.size());
    ASSERT_EQ(level, expectedLevel);
    ASSERT_EQ(tone.HeldWholePeriod(), reference.heldInt);
    if (!notes.empty()) {
      ASSERT_NEAR(notes.back(), expected.back(), 1e-9) << "call " << calls;
    }
  }
  // True when the next block completes a window that gets a full analysis.
  bool NextIsFull() const { return tone.Buffered() == 2000 && tone.HopCounter() == 0; }
  double Last() const { return notes.back(); }
};

TEST(MainTone3, SilenceFailsTheGateAndGivesNoPitch) {
  Driver d;
  const std::vector<int16_t> zeros(1000, 0);
  for (int i = 0; i < 30; ++i) d.Feed(zeros);
  EXPECT_EQ(d.level, 1);
  EXPECT_EQ(d.notes.size(), 28u);
  for (double n : d.notes) EXPECT_EQ(n, 0);
}

TEST(MainTone3, FirstValueComesWithTheThirdBlock) {
  Driver d;
  ToneSource s;
  d.Feed(s.Block(110, 10000));
  d.Feed(s.Block(110, 10000));
  EXPECT_TRUE(d.notes.empty());
  d.Feed(s.Block(110, 10000));
  ASSERT_EQ(d.notes.size(), 1u);
  EXPECT_EQ(d.tone.Buffered(), 2000u);
}

TEST(MainTone3, SineOf110HzIsNote45AtEitherReference) {
  for (double ref : {440.0, 442.0}) {
    Driver d;
    d.tone.referenceFrequency = d.reference.ref = ref;
    ToneSource s;
    for (int i = 0; i < 40; ++i) d.Feed(s.Block(110, 10000));
    EXPECT_NEAR(d.level, 7071, 40);
    const double truth = ref == 440 ? 45.0 : 44.92;
    for (size_t i = 0; i < d.notes.size(); ++i) EXPECT_NEAR(d.notes[i], truth, 0.05) << i;
  }
}

TEST(MainTone3, AfterAnEmptyAnalysisFourHopsWaitAndTheFifthAnalyses) {
  Driver d;
  ToneSource s;
  for (int i = 0; i < 3; ++i) d.Feed(std::vector<int16_t>(1000, 0));
  EXPECT_EQ(d.tone.HopCounter(), 1u);
  for (int i = 0; i < 5; ++i) d.Feed(s.Block(110, 10000));
  ASSERT_EQ(d.notes.size(), 6u);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.notes[i], 0) << i;  // tone present, but no analysis yet
  EXPECT_NEAR(d.notes[5], 45.0, 0.05);  // the onset is confirmed by the window 1000 later
}

// Holds 110 Hz until a full analysis is two blocks away, then feeds the two
// blocks that the next full analysis and its second look will see.
struct JumpCase {
  Driver d;
  ToneSource s;
  double heldBefore = 0;

  JumpCase() {
    int fulls = 0;
    while (fulls < 3) {
      if (d.NextIsFull()) ++fulls;
      d.Feed(s.Block(110, 10000));
    }
    // The next full analysis comes 10 hops after the last one.
    for (int i = 0; i < 7; ++i) d.Feed(s.Block(110, 10000));
  }
  void Then(double hz1, double amp1, double hz2, double amp2) {
    heldBefore = d.tone.HeldPeriod();
    d.Feed(s.Block(hz1, amp1));  // the analysed window x
    d.Feed(s.Block(hz2, amp2));  // the second look x'
    ASSERT_TRUE(d.NextIsFull());
    d.Feed(s.Block(hz2, amp2));
  }
};

TEST(MainTone3, JumpConfirmedByTheLaterWindowIsAccepted) {
  JumpCase j;
  j.Then(165, 10000, 165, 10000);  // seven semitones up
  EXPECT_NEAR(j.d.tone.HeldWholePeriod(), 22050 / 165.0, 1);
  EXPECT_NEAR(j.d.Last(), 52.0, 0.2);
}

TEST(MainTone3, JumpContradictedByTheLaterWindowKeepsThePeriod) {
  JumpCase j;
  j.Then(165, 10000, 110, 10000);
  EXPECT_EQ(j.d.tone.HeldWholePeriod(), std::floor(j.heldBefore + 0.5));
  EXPECT_NEAR(j.d.Last(), 45.0, 1.0);
}

TEST(MainTone3, JumpThatNeitherWindowAgreesOnGivesNoPitch) {
  JumpCase j;
  j.Then(165, 10000, 247, 10000);
  EXPECT_EQ(j.d.tone.HeldWholePeriod(), 0);
  EXPECT_EQ(j.d.Last(), 0);
}

TEST(MainTone3, QuietWindowBeforeALoudNewNoteIsAFreshAttack) {
  JumpCase j;
  j.Then(165, 100, 220, 20000);  // below the gate, then a loud attack an octave up
  EXPECT_NEAR(j.d.tone.HeldWholePeriod(), 22050 / 220.0, 1);
  EXPECT_NEAR(j.d.Last(), 57.0, 0.3);
}

TEST(MainTone3, ConfirmedJumpWhileTheSignalDiesAwayGivesNoPitch) {
  JumpCase j;
  j.Then(165, 4000, 165, 4000);  // earlier level 7071 ÷ 2828 ≥ 1.4
  EXPECT_EQ(j.d.tone.HeldWholePeriod(), 0);
  EXPECT_EQ(j.d.Last(), 0);
}

TEST(MainTone3, TrackingFollowsAGlideBetweenFullAnalyses) {
  Driver d;
  ToneSource s;
  double hz = 110;
  for (int i = 0; i < 60; ++i) {
    d.Feed(s.Block(hz, 10000));
    hz *= std::pow(2.0, 0.05 / 12);  // five cents per hop
  }
  // Three semitones in all, never more than two between full analyses. The
  // analysed window starts two blocks behind the newest one.
  const double windowStart = 69 + 12 * std::log2(hz / 440) - 3 * 0.05;
  EXPECT_NEAR(d.Last(), windowStart, 0.05);
}

TEST(MainTone3, ResetForgetsEverythingIncludingTheReference) {
  Driver d;
  ToneSource s;
  d.tone.referenceFrequency = d.reference.ref = 430;
  for (int i = 0; i < 5; ++i) d.Feed(s.Block(110, 10000));
  d.tone.Reset();
  EXPECT_EQ(d.tone.Buffered(), 0u);
  EXPECT_EQ(d.tone.HeldPeriod(), 0);
  EXPECT_EQ(d.tone.Level(), 1);
  EXPECT_EQ(d.tone.EarlierLevel(), 1);
  EXPECT_EQ(d.tone.referenceFrequency, 440);
}

}  // namespace
