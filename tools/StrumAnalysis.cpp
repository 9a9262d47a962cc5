#include "StrumAnalysis.h"

#include <vector>

#include "strum/StrumTracker.h"
#include "strum/TargetedReading.h"

AnalysisSummary StrumAnalysis::Run(SampleSource *source) {
  AnalysisSummary summary;
  Strum::StrumTracker tracker(targets_.GetTuning(), reference_);
  std::vector<Strum::StrumReading> readings;
  int16_t buffer[kCaptureSamples];
  while (const size_t n = source->Read(buffer, kCaptureSamples)) {
    tracker.Feed(buffer, n, &readings);
    Write(&readings, &summary);
    summary.samples += n;
  }
  tracker.Finish(&readings);
  Write(&readings, &summary);
  summary.error = source->Error();
  summary.nonFinite = source->NonFiniteSamples();
  return summary;
}

void StrumAnalysis::Write(std::vector<Strum::StrumReading> *readings, AnalysisSummary *summary) {
  for (Strum::StrumReading &reading : *readings) {
    Strum::ReadAgainstTargets(targets_, &reading);
    report_->Strum(reading);
  }
  summary->results += readings->size();
  readings->clear();
}
