#pragma once

#include <cstdint>
#include <string>

#include "ResultFormat.h"
#include "wave/SampleSource.h"

// Runs a recording through the tuner's own pitch path: 100 ms capture
// buffers (2205 samples) into ProcessMeasure_H, the guitar measurer behind
// it, each result out through the result delegate to the format. With
// calibration on, every result also goes to a TunerDetectPitch.
class PitchAnalysis {
 public:
  static constexpr size_t kCaptureSamples = 2205;

  struct Summary {
    uint64_t samples = 0;
    uint64_t results = 0;
    bool stableFound = false;
    double stablePitch = 0;      // first stable note reported
    double stableReference = 0;  // the reference it was measured at
    double calibrated = 0;       // the reference calibration would set
    std::string error;           // set when the source failed while reading
  };

  PitchAnalysis(ResultFormat *format, double reference, bool calibrate)
      : format_(format), reference_(reference), calibrate_(calibrate) {}

  Summary Run(SampleSource *source);

 private:
  ResultFormat *format_;
  double reference_;
  bool calibrate_;
};
