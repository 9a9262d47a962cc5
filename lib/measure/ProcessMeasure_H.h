#pragma once

#include "IMeasurerConfig.h"
#include "IMeasurerFactory.h"
#include "MeasureResult.h"
#include "filters/BaseFilter.h"
#include "general/Delegate.h"
#include "general/UninitResident.h"

// The tuner's pitch pipeline: owns the measurer for the whole run, takes the
// captured samples in and hands every batch of results to one delegate.
// Creating it starts the measurer (position 0) with this object as its only
// pin. The tear-down stops and unplugs the measurer. Single-threaded: the
// capture notification, measuring and the delegate all run on the caller's
// thread, inside OnSample.
class ProcessMeasure_H : public BaseFilter {
 public:
  using ResultDelegate = Delegate<void(const Measure::Result *, unsigned int)>;

  ProcessMeasure_H(UninitCaller *root, const ResultDelegate &onResults, IMeasurerFactory *factory);

  // Sample input: the capture device's delegate is bound here.
  void OnSample(AV::IMediaSample *sample) { WriteCaptured(sample); }
  // The same, with the measurer's status.
  HRESULT WriteCaptured(AV::IMediaSample *sample);

  void SetReferenceFrequency(double hertz);
  double GetReferenceFrequency();

  // Result samples from the measurer: unpacked and handed to the delegate.
  HRESULT WriteSample(AV::IMediaSample *sample) override;

  IFilter *Measurer() const { return measurer_.get(); }

 private:
  void StopAndUnplug();

  RCPtr<IMeasurerConfig> config_;
  RCPtr<IFilter> measurer_;
  ResultDelegate onResults_;
  UninitResident resident_;
};
