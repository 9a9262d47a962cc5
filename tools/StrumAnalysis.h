#pragma once

#include <cstddef>

#include "AnalysisSummary.h"
#include "app/DeviceWiring.h"
#include "base/SoundFormat.h"
#include "StrumReport.h"
#include "measure/NoteTargets.h"
#include "wave/Recording.h"

// drovane-analyze --strum: finds the strums of a recording and reads every
// string of each (the strum check, strum/StrumTracker), fed in the tuner's
// 100 ms capture buffers as the tuner's strum screen is, and writes each
// strum as it is read, every string against its target. A strum the
// recording ends during is read with what there is.
class StrumAnalysis {
 public:
  static constexpr size_t kCaptureSamples = static_cast<size_t>(drovane::kSampleRate * kCaptureBufferMs / 1000);

  StrumAnalysis(StrumReport *report, const Measure::NoteTargets &targets, double reference)
      : report_(report), targets_(targets), reference_(reference) {}

  // Reads `source` to its end. The summary counts the samples and, as its
  // results, the strums; its error is set when reading failed.
  AnalysisSummary Run(Recording *source);

 private:
  void Write(std::vector<Strum::StrumReading> *readings, AnalysisSummary *summary);

  StrumReport *report_;
  Measure::NoteTargets targets_;
  double reference_;
};
