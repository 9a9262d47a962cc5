#pragma once

#include <optional>

#include "AnalysisSummary.h"
#include "CueMoments.h"
#include "ResultFormat.h"
#include "TimedPipeline.h"
#include "general/RCPtr.h"
#include "general/UninitCaller.h"
#include "measure/Refinement.h"
#include "measure/StringNotes.h"
#include "measure/TunerDetectPitch.h"
#include "wave/RecordingStream.h"

// Start-up's measurement handler as the analyser has it: prints every result
// of the pipeline with the start of its block, keeps the summary and, with
// calibration on, feeds every printed result to a TunerDetectPitch.
//
// A recording's last capture buffer is completed with silence: results of
// blocks that reach past the recording's end are not printed. Program thread
// only. The printer must outlive the tear-down of the root it built on.
class ResultPrinter {
 public:
  // The measurement side, held by the caller for the run.
  struct Side {
    RCPtr<TimedPipeline> pipeline;
    RCPtr<TunerDetectPitch> detector;  // only with calibration
  };

  ResultPrinter(ResultFormat *format, AnalysisSummary *summary) : format_(format), summary_(summary) {}

  // Builds the measurement side on `root` as start-up does: the guitar
  // measurer factory (with `refinement` and the instrument's `strings` in
  // its configuration) and ProcessMeasure_H with this printer bound into its
  // result delegate, at `reference` hertz; with `calibrate` a detector too.
  Side Build(UninitCaller *root, double reference, bool calibrate,
             Measure::Refinement refinement = Measure::Refinement::kPhone,
             const Measure::StringNotes &strings = {40, 45, 50, 55, 59, 64});

  // With the cue's moments on stderr for every result printed (--cue).
  void SayCue() { cue_.emplace(stderr); }
  // Results past the end of this recording, once it has ended, are dropped.
  void SetRecording(const platform::wave::RecordingStatus *recording) { recording_ = recording; }

 private:
  void OnResults(const Measure::Result *records, unsigned int count);
  void OnStable(double pitch, double reference);
  void OnUpdate(double, double) {}
  bool PastTheEnd() const;

  ResultFormat *format_;
  AnalysisSummary *summary_;
  const platform::wave::RecordingStatus *recording_ = nullptr;
  TimedPipeline *pipeline_ = nullptr;    // held by the caller's Side
  TunerDetectPitch *detector_ = nullptr;  // likewise
  std::optional<CueMoments> cue_;
};
