#include "PitchAnalysis.h"

#include <cstring>
#include <vector>

#include "filters/MediaSample.h"
#include "general/UninitCaller.h"
#include "measure/Calibration.h"
#include "measure/GuitarFactory.h"
#include "measure/MeasurerBase.h"
#include "measure/ProcessMeasure_H.h"
#include "measure/TunerDetectPitch.h"

namespace {

// The pipeline, noting the start time of the result sample being delivered.
class TimedPipeline : public ProcessMeasure_H {
 public:
  using ProcessMeasure_H::ProcessMeasure_H;
  HRESULT WriteSample(AV::IMediaSample *sample) override {
    sample->GetInfo(&resultStart, nullptr, nullptr, nullptr);
    return ProcessMeasure_H::WriteSample(sample);
  }
  int64_t resultStart = 0;
};

// Start-up's measurement handler, as the analyser needs it.
struct Handler {
  ResultFormat *format;
  TimedPipeline *pipeline = nullptr;
  TunerDetectPitch *detector = nullptr;
  PitchAnalysis::Summary *summary;

  void OnResults(const Measure::Result *records, unsigned int count) {
    const double reference = pipeline->GetReferenceFrequency();
    for (unsigned int i = 0; i < count; ++i) {
      format->Result(pipeline->resultStart, records[i].level, records[i].note, reference);
      ++summary->results;
      if (detector) detector->OnPitch(records[i].note, reference);
    }
  }
  void OnStable(double pitch, double reference) {
    if (summary->stableFound) return;
    summary->stableFound = true;
    summary->stablePitch = pitch;
    summary->stableReference = reference;
    summary->calibrated = CalibratedReference(pitch, reference);
  }
  void OnUpdate(double, double) {}
};

}  // namespace

PitchAnalysis::Summary PitchAnalysis::Run(SampleSource *source) {
  Summary summary;
  Handler handler{format_, nullptr, nullptr, &summary};
  UninitCaller root;
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  RCPtr<TimedPipeline> pipeline(new TimedPipeline(
      &root, MakeDelegate<void(const Measure::Result *, unsigned int)>(&handler, &Handler::OnResults), factory.get()));
  handler.pipeline = pipeline.get();
  pipeline->SetReferenceFrequency(reference_);
  RCPtr<TunerDetectPitch> detector;
  if (calibrate_) {
    TunerDetectPitch::Bindings bindings;
    bindings.onStable.Bind(&handler, &Handler::OnStable);
    bindings.onUpdate.Bind(&handler, &Handler::OnUpdate);
    detector = new TunerDetectPitch(&root, bindings);
    handler.detector = detector.get();
  }

  int16_t buffer[kCaptureSamples];
  while (const size_t n = source->Read(buffer, kCaptureSamples)) {
    uint8_t *data = nullptr;
    const int64_t start = Measure::MeasurerBase::TimeFromBytes(2 * static_cast<int64_t>(summary.samples));
    const int64_t end = Measure::MeasurerBase::TimeFromBytes(2 * static_cast<int64_t>(summary.samples + n));
    RCPtr<AV::IMediaSample> sample(new AV::MediaSample(start, end - start, static_cast<uint32_t>(2 * n), &data));
    std::memcpy(data, buffer, 2 * n);
    pipeline->OnSample(sample.get());
    summary.samples += n;
  }
  summary.error = source->Error();
  return summary;
}
