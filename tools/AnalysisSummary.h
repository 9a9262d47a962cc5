#pragma once

#include <cstdint>
#include <string>

// What one analysis found, for the reports after its results.
struct AnalysisSummary {
  uint64_t samples = 0;        // of the recording, or captured live
  uint64_t results = 0;        // printed
  double lastNote = 0;         // last note heard (0: none yet)
  double lastReference = 0;    // the reference it was named against
  bool stableFound = false;
  double stablePitch = 0;      // first stable note reported
  double stableReference = 0;  // the reference it was measured at
  double calibrated = 0;       // the reference calibration would set
  uint64_t overruns = 0;       // live: times captured sound was lost
  uint64_t overrunSamples = 0; // live: samples lost
  uint64_t losses = 0;         // live: times the device went away
  uint64_t awaySamples = 0;    // live: samples of silence heard while it was away
  uint64_t nonFinite = 0;      // samples that were not numbers, heard as silence
  bool outputLost = false;     // live: results could not be written; the run ended there
  std::string error;           // set when the source failed while reading
};
