#pragma once

#include <memory>
#include <optional>
#include <string>

#include "AnalysisSummary.h"
#include "RecordingEnd.h"
#include "ResultPrinter.h"
#include "ResultPush.h"
#include "general/EventLoop.h"
#include "general/UninitCaller.h"
#include "kernel/StopSignals.h"
#include "phone/Phone.h"
#include "soundbase/WaveInEvent.h"
#include "wave/WaveDevices.h"

// The analyser on the program's own path from microphone to result, wired
// as the tuner's start-up wires it: a tear-down root; the measurement side
// (ResultPrinter); a WaveInEvent (2 s of 100 ms buffers) whose sample
// handler is the pipeline's sample input; an EventLoop whose node for the
// device's event calls WaveIn::ProcessEvent.
//
// A sound file or the demo is played into the microphone on the virtual
// clock, so it runs as fast as the machine allows, exactly as it would
// sound; the loop stops once the buffer with the recording's last sample has
// been handed on. Live input runs on the real clock until Ctrl-C (or TERM or
// HUP: platform::StopSignals), or until its results cannot be written.
//
// One analysis per object, on the program thread: Open, then Run. It runs on
// a phone of its own, made by Open. Destruction is start-up's shut-down: the
// references are released newest first, then the tear-down root stops the
// device and the measurer and unbinds the delegates.
class CaptureAnalysis {
 public:
  // `strings`: the instrument's, which choose the measurer with `refinement`.
  CaptureAnalysis(ResultFormat *format, double reference, bool calibrate,
                  Measure::Refinement refinement = Measure::Refinement::kPhone,
                  const Measure::StringNotes &strings = {40, 45, 50, 55, 59, 64});
  ~CaptureAnalysis();

  // Live: `push` writes out what has been printed, once before capture
  // starts (the heading) and after each captured buffer (its results); false
  // once anything written was lost, which ends the run in order with
  // AnalysisSummary::outputLost. Call before Open.
  void PushResultsWith(bool (*push)()) { pushWith_ = push; }
  // The cue's moments on stderr as the results come (--cue).
  void SayCue() { printer_.SayCue(); }

  // Builds everything and opens the capture device on `source` (file, demo
  // or live). False, with a message for the user in `error`, when it cannot.
  bool Open(const platform::wave::CaptureSource &source, std::string *error);
  // Starts capturing and runs the loop until the recording has been heard
  // to its end, Ctrl-C (live), or a failed wait.
  AnalysisSummary Run();

 private:
  void Finish();

  AnalysisSummary summary_;
  ResultPrinter printer_;
  double reference_;
  bool calibrate_;
  Measure::Refinement refinement_;
  Measure::StringNotes strings_;
  bool live_ = false;
  bool (*pushWith_)() = nullptr;
  std::optional<platform::Phone> phone_;
  std::shared_ptr<platform::wave::RecordingStatus> recording_;
  std::optional<platform::StopSignals> stops_;  // live
  std::unique_ptr<UninitCaller> root_;
  ResultPrinter::Side side_;
  RCPtr<WaveInEvent> device_;
  RCPtr<EventLoop> loop_;
  RCPtr<RecordingEnd> end_;
  RCPtr<ResultPush> push_;  // live, with PushResultsWith
};
