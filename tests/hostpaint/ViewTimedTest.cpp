// The view's timed behaviour on its four timers: scale zoom, string
// highlight, and automatic calibration.
#include <cmath>

#include "ViewFixture.h"
#include "general/CheckRecord.h"

namespace viewtest {
namespace {

using Strings = std::vector<std::string>;

class Timed : public ViewTest {
 protected:
  // What start-up's measurement handler does with one result.
  void Measure(double note) {
    if (RCPtr<UninitPtr<TunerDetectPitch>> detector = view_->Detector())
      detector->get()->OnPitch(note, outside_.reference);
    else
      view_->SetPitch(note);
  }
  // One result every 45 ms (about what the pipeline delivers), `ms` long.
  void Hold(double note, long long ms) {
    for (long long t = 0; t < ms; t += 45) {
      Measure(note);
      timers_.Advance(45);
    }
  }
  double Scale() const { return view_->Gauge().maximum; }
  std::size_t Ticks() const { return view_->Gauge().ticks.size(); }
  const bool *Lit() const { return view_->Panel().highlight; }
};

// Note 57 is no string's note, so no highlight timer mixes in.
TEST_F(Timed, InTuneForAHundredFiftyMillisecondsZoomsToFourCentsInFifteenSteps) {
  WireAsStartUp({0, 0, 1, 0});
  view_->SetPitch(57.02);
  view_->SetPitch(57.01);  // still in tune: no restart
  EXPECT_EQ(timers_.calls, (Strings{"stop inTune", "start inTune 150 0"}));
  const int repaints = outside_.repaints;
  timers_.Advance(149);
  EXPECT_EQ(Scale(), 0.5);
  timers_.Advance(1);
  EXPECT_EQ(timers_.calls.back(), "start zoom 50 1");
  EXPECT_EQ(Ticks(), 14u) << "the fine marks come with the zoom's start";
  for (int k = 1; k <= 14; ++k) {
    timers_.Advance(50);
    EXPECT_DOUBLE_EQ(Scale(), 0.5 + (0.04 - 0.5) * (k - 1) * (1.0 / 15)) << k;
    EXPECT_EQ(view_->Gauge().minimum, -Scale());
  }
  timers_.Advance(50);
  EXPECT_EQ(Scale(), 0.04);
  EXPECT_EQ(view_->Gauge().minimum, -0.04);
  EXPECT_FALSE(timers_.Running(TestTimers::kZoom));
  EXPECT_EQ(outside_.repaints, repaints) << "the zoom itself asks for no repaint";
}

// The strobe's frames (17 ms) repaint its bands only where they stand a
// pixel elsewhere: 16 pixels a second for each cent, so at 5 cents every
// frame, at half a cent eight a second, in tune none; a note no longer
// heard stops the frames.
TEST_F(Timed, StrobeFramesRepaintTheBandsOnlyWhenTheyMoveAPixel) {
  DrovaneView_H::DisplayOptions options = Off();
  options.strobeScreen = true;
  WireAsStartUp(options);
  struct Case {
    double cents;
    int least, most;
  };
  for (const Case &c : {Case{0, 0, 0}, Case{0.5, 7, 9}, Case{-0.5, 7, 9}, Case{5, 58, 59}, Case{0, 0, 0}}) {
    SCOPED_TRACE(c.cents);
    view_->SetPitch(57 + c.cents / 100);
    timers_.Advance(100);  // the frame that paints the bands where they stand now
    outside_.rectRepaints = 0;
    timers_.Advance(1000);
    EXPECT_GE(outside_.rectRepaints, c.least);
    EXPECT_LE(outside_.rectRepaints, c.most);
    EXPECT_TRUE(timers_.Running(TestTimers::kFrames));
  }
  view_->SetPitch(0);
  outside_.rectRepaints = 0;
  timers_.Advance(1000);
  EXPECT_EQ(outside_.rectRepaints, 0);
  EXPECT_FALSE(timers_.Running(TestTimers::kFrames));
}

TEST_F(Timed, OutOfTuneForThreeSecondsZoomsBackAndANewZoomStartsFromTheCurrentEnd) {
  WireAsStartUp({0, 0, 1, 0});
  Hold(57.0, 1000);
  ASSERT_EQ(Scale(), 0.04);
  timers_.calls.clear();
  view_->SetPitch(57.2);
  EXPECT_EQ(timers_.calls, (Strings{"stop inTune", "start inTune 3000 0"}));
  timers_.Advance(2999);
  view_->SetPitch(57.0);  // back in tune in time: the zoom stays
  timers_.Advance(1000);
  EXPECT_EQ(Scale(), 0.04);
  view_->SetPitch(57.3);
  timers_.Advance(3000 + 260);  // the zoom out starts and makes five ticks
  view_->SetPitch(57.0);        // in tune again: a zoom in 150 ms from now
  timers_.Advance(150);         // three more ticks, then the new start
  const double from = 0.04 + 0.46 * 7 / 15;
  EXPECT_NEAR(Scale(), from, 1e-12);
  timers_.Advance(50);
  EXPECT_NEAR(Scale(), from, 1e-12) << "the first step shows the start";
  timers_.Advance(50);
  EXPECT_NEAR(Scale(), from + (0.04 - from) / 15, 1e-12);
  timers_.Advance(13 * 50);
  EXPECT_EQ(Scale(), 0.04);
  EXPECT_FALSE(timers_.Running(TestTimers::kZoom));
  view_->SetPitch(57.3);
  timers_.Advance(3000);
  ASSERT_EQ(timers_.calls.back(), "start zoom 50 1");
  for (int k = 1; k <= 14; ++k) {
    timers_.Advance(50);
    EXPECT_EQ(Ticks(), 14u) << "fine marks until the last tick " << k;
  }
  EXPECT_NEAR(Scale(), 0.04 + 0.46 * 13 / 15, 1e-12);
  timers_.Advance(50);
  EXPECT_EQ(Scale(), 0.5);
  EXPECT_EQ(view_->Gauge().ticks, (std::vector<double>{-0.4, 0.4, -0.3, 0.3, -0.2, 0.2, -0.1, 0.1}));
}

TEST_F(Timed, NoZoomWithoutAutoZoomAndLateOrStrayExpiriesAreHarmless) {
  WireAsStartUp();
  view_->SetPitch(57.0);
  EXPECT_TRUE(timers_.calls.empty());
  view_->OnZoomTimer();  // a late expiry: ignored
  EXPECT_FALSE(record_.Raised());
  view_->DS_On_Transit_Transit();
  EXPECT_EQ(LastCheck(record_), Text(CheckSites::kZoomStepWhileIdle));
  view_->HN_Do_Highlight_Start();  // nothing pending
  EXPECT_EQ(LastCheck(record_), Text(CheckSites::kHighlightNotPending));
  timers_.Advance(5000);
  EXPECT_EQ(Scale(), 0.5);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(Lit()[i]);
}

TEST_F(Timed, APitchNearAStringLightsItAfterAHundredFiftyMillisecondsForOneSecond) {
  WireAsStartUp();
  view_->SetPitch(45.3);
  EXPECT_EQ(timers_.calls, (Strings{"start highlightOn 150 0"}));
  ClearLog();
  timers_.Advance(149);
  EXPECT_FALSE(Lit()[1]);
  timers_.Advance(1);
  EXPECT_TRUE(Lit()[1]);
  EXPECT_EQ(timers_.calls, (Strings{"stop highlightOff", "stop highlightOn", "start highlightOff 1000 0"}));
  EXPECT_EQ(outside_.reported, std::vector<int>{45}) << "already selected: the view reports nothing more";
  EXPECT_EQ(outside_.repaints, 1);
  timers_.Advance(999);
  EXPECT_TRUE(Lit()[1]);
  timers_.Advance(1);
  EXPECT_FALSE(Lit()[1]);
  EXPECT_EQ(outside_.repaints, 2);
  // A string chosen meanwhile gives way to the lit one, which is reported
  // twice: the view's own selection reports it from inside the first report.
  view_->SetPitch(45.3);
  view_->SetStringSelect(55);
  ClearLog();
  timers_.Advance(150);
  EXPECT_EQ(view_->Note(), 45);
  EXPECT_EQ(outside_.reported, (std::vector<int>{45, 45}));
}

TEST_F(Timed, TheWaitRestartsForANewCandidateAndANewHighlightReplacesTheOld) {
  WireAsStartUp();
  const int notes[] = {40, 41, 50, 55, 59, 64};
  view_->SetStringNotes(notes);
  view_->SetPitch(40.5);  // half a semitone from 40 and 41 alike: the lower string wins
  timers_.Advance(150);
  EXPECT_TRUE(Lit()[0]);
  EXPECT_FALSE(Lit()[1]);
  view_->SetPitch(50.4);
  timers_.Advance(100);
  ClearLog();
  view_->SetPitch(59.1);  // a new candidate before the wait is over
  EXPECT_EQ(timers_.calls, (Strings{"stop highlightOn", "start highlightOn 150 0"}));
  timers_.Advance(149);
  EXPECT_EQ(Lit()[0] + Lit()[2] + Lit()[4], 1) << "the old one is still lit, nothing new";
  timers_.Advance(1);
  EXPECT_FALSE(Lit()[0]);
  EXPECT_TRUE(Lit()[4]);
  timers_.Advance(1000);
  view_->SetPitch(50.50001);  // just beyond half a semitone
  timers_.Advance(150);
  EXPECT_FALSE(Lit()[2]);
  view_->SetPitch(49.5);  // exactly half a semitone below
  timers_.Advance(150);
  EXPECT_TRUE(Lit()[2]);
}

TEST_F(Timed, ZeroPitchCancelsNoWaitButStartsNone) {
  WireAsStartUp();
  view_->SetPitch(45.1);
  ClearLog();
  view_->SetPitch(0);
  EXPECT_TRUE(timers_.calls.empty());
  timers_.Advance(150);
  EXPECT_TRUE(Lit()[1]);
  timers_.Advance(1000);
  view_->SetPitch(0);  // the last pitch is still near A, but nothing is heard
  EXPECT_FALSE(timers_.Running(TestTimers::kHighlightOn));
}

TEST_F(Timed, CalibrationToAPlayedNoteMovesAAndReleasesTheDetector) {
  WireAsStartUp();
  view_->StartCalibration();
  RCPtr<TunerDetectPitch> detector = view_->Detector()->Object();
  for (int i = 0; i < 15; ++i) Measure(69.3);
  EXPECT_EQ(view_->Note(), 55) << "nothing heard long enough yet";
  Measure(69.3);  // 16 results: the detector's first mean
  EXPECT_EQ(view_->Note(), 69);
  EXPECT_DOUBLE_EQ(view_->Pitch(), 69.3);
  EXPECT_FALSE(view_->Gauge().valid);
  EXPECT_EQ(outside_.reference, 440.0);
  for (int i = 16; i < 31; ++i) Measure(69.3);  // the 31st is the 16th stable update
  EXPECT_NEAR(outside_.reference, 447.69, 0.005);
  EXPECT_NEAR(outside_.reference, 440 * std::pow(2.0, (69.3 - 69) / 12), 1e-9);
  EXPECT_TRUE(view_->Gauge().valid);
  EXPECT_TRUE(view_->Detector().IsEmpty());
  EXPECT_EQ(detector->RefCount(), 1) << "only this test still holds it";
  Measure(69.0);  // back to normal measuring
  EXPECT_EQ(view_->Pitch(), 69.0);
}

TEST_F(Timed, ASecondCalibrationReplacesTheFirstAndTearDownEndsOne) {
  WireAsStartUp();
  view_->StartCalibration();
  RCPtr<TunerDetectPitch> first = view_->Detector()->Object();
  view_->StartCalibration();
  EXPECT_EQ(first->RefCount(), 1);
  EXPECT_NE(view_->Detector()->get(), first.get());
  for (int i = 0; i < 20; ++i) Measure(45.0);
  view_.Reset();
  root_.reset();  // calibrating still: the tear-down drops the detector
  EXPECT_FALSE(record_.Raised()) << record_->function;
}

}  // namespace
}  // namespace viewtest
