#pragma once

#include <cstdint>

#include "filters/IMediaSample.h"
#include "measure/ProcessMeasure_H.h"

// The tuner's pipeline, noting the time span of the result sample it is
// delivering, so the result delegate knows which block a result came from.
class TimedPipeline : public ProcessMeasure_H {
 public:
  using ProcessMeasure_H::ProcessMeasure_H;

  HRESULT WriteSample(AV::IMediaSample *sample) override {
    sample->GetInfo(&resultStart, &resultDuration, nullptr, nullptr);
    return ProcessMeasure_H::WriteSample(sample);
  }

  int64_t resultStart = 0;     // 100 ns units from the start of capture
  int64_t resultDuration = 0;  // of the block the result belongs to
};
