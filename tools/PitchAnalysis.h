#pragma once

#include <cstddef>

#include "AnalysisSummary.h"
#include "ResultFormat.h"
#include "wave/Recording.h"

// The analyser's direct path: reads a recording in 100 ms buffers (2205
// samples) and hands each straight to the tuner's pipeline, with no capture
// device and no loop. The program itself uses CaptureAnalysis; this one is
// kept as the yardstick that path is compared and timed against.
class PitchAnalysis {
 public:
  static constexpr size_t kCaptureSamples = 2205;

  PitchAnalysis(ResultFormat *format, double reference, bool calibrate)
      : format_(format), reference_(reference), calibrate_(calibrate) {}

  AnalysisSummary Run(Recording *source);

 private:
  ResultFormat *format_;
  double reference_;
  bool calibrate_;
};
