#pragma once

// A pin that keeps every result sample written into it.

#include <vector>

#include "filters/BaseFilter.h"
#include "measure/SampleDataPack.h"

struct ResultSink : BaseFilter {
  struct Received {
    int64_t start, duration;
    std::vector<Measure::Result> records;
  };
  HRESULT WriteSample(AV::IMediaSample *sample) override {
    Received r;
    sample->GetInfo(&r.start, &r.duration, nullptr, nullptr);
    const Measure::Result *records = nullptr;
    unsigned count = 0;
    if (GetSampleSPLResults(sample, &records, &count) == 0) r.records.assign(records, records + count);
    received.push_back(r);
    return status;
  }
  std::vector<Received> received;
  HRESULT status = 0;
};
