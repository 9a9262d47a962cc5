#pragma once

// Drivers shared by the measuring tests: a pin that keeps every result
// sample, and the tuner's whole pipeline over a recording.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "filters/BaseFilter.h"
#include "filters/MediaSample.h"
#include "general/UninitCaller.h"
#include "measure/GuitarFactory.h"
#include "measure/MeasurerGuitar3.h"
#include "measure/ProcessMeasure_H.h"
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

// A media sample holding `count` samples of `audio` from `at`.
inline RCPtr<AV::IMediaSample> AudioSample(const std::vector<int16_t> &audio, size_t at, size_t count) {
  uint8_t *data = nullptr;
  RCPtr<AV::IMediaSample> s(new AV::MediaSample(0, 0, static_cast<uint32_t>(2 * count), &data));
  std::memcpy(data, audio.data() + at, 2 * count);
  return s;
}

// The tuner's pitch pipeline as start-up builds it, keeping every result
// and the size of each delivery; the configuration's own refinement unless
// one is given, always on the guitar measurer.
struct Tuner {
  explicit Tuner(double reference = 440, std::optional<Measure::Refinement> refinement = std::nullopt) {
    factory->KeepGuitarMeasurer();
    if (refinement) factory->SetRefinement(*refinement);
    pipeline = new ProcessMeasure_H(&root, MakeDelegate<void(const Measure::Result *, unsigned int)>(this, &Tuner::On),
                                    factory.get());
    EXPECT_EQ(pipeline->GetState(), BaseFilter::kRunning);
    pipeline->SetReferenceFrequency(reference);
  }
  void On(const Measure::Result *r, unsigned n) {
    results.insert(results.end(), r, r + n);
    batches.push_back(n);
  }
  // Feeds the recording in capture buffers of `chunk` samples.
  Tuner &Write(const std::vector<int16_t> &audio, size_t chunk = 2205) {
    for (size_t at = 0; at < audio.size(); at += chunk)
      EXPECT_EQ(pipeline->WriteCaptured(AudioSample(audio, at, std::min(chunk, audio.size() - at)).get()), 0);
    return *this;
  }
  // Stops and starts the measurer as a new capture session does.
  void Restart() {
    pipeline->Measurer()->NotifyEvent(IFilter::kEventStop);
    pipeline->Measurer()->SetStartPosition(0);
    pipeline->Measurer()->NotifyEvent(IFilter::kEventStart);
  }
  Measure3::MeasurerGuitar3 &Measurer() { return *static_cast<Measure3::MeasurerGuitar3 *>(pipeline->Measurer()); }

  UninitCaller root;
  RCPtr<Measure3::GuitarFactory> factory{new Measure3::GuitarFactory};
  RCPtr<ProcessMeasure_H> pipeline;
  std::vector<Measure::Result> results;
  std::vector<unsigned> batches;
};

inline std::vector<Measure::Result> Record(const std::vector<int16_t> &audio, double reference = 440,
                                           size_t chunk = 2205,
                                           std::optional<Measure::Refinement> refinement = std::nullopt) {
  return Tuner(reference, refinement).Write(audio, chunk).results;
}
