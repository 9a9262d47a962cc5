#include "ProcessMeasure_H.h"

#include "SampleDataPack.h"

ProcessMeasure_H::ProcessMeasure_H(UninitCaller *root, const ResultDelegate &onResults, IMeasurerFactory *factory)
    : onResults_(onResults),
      resident_(root, this, MakeDelegate<void()>(this, &ProcessMeasure_H::StopAndUnplug)) {
  factory->CreateMeasurer(&measurer_, &config_);
  // Position and start travel down the pin: this object starts first.
  measurer_->PlugPin(this);
  measurer_->SetStartPosition(0);
  measurer_->NotifyEvent(kEventStart);
}

HRESULT ProcessMeasure_H::WriteCaptured(AV::IMediaSample *sample) { return measurer_->WriteSample(sample); }

void ProcessMeasure_H::SetReferenceFrequency(double hertz) { config_->SetReferenceFrequency(hertz); }

double ProcessMeasure_H::GetReferenceFrequency() { return config_->GetReferenceFrequency(); }

HRESULT ProcessMeasure_H::WriteSample(AV::IMediaSample *sample) {
  const Measure::Result *records = nullptr;
  unsigned int count = 0;
  if (GetSampleSPLResults(sample, &records, &count) == 0) onResults_(records, count);
  return BaseFilter::WriteSample(sample);
}

void ProcessMeasure_H::StopAndUnplug() {
  if (!measurer_) return;
  measurer_->NotifyEvent(kEventStop);
  measurer_->UnplugAll();
}
