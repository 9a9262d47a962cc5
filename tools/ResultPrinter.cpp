#include "ResultPrinter.h"

#include "measure/Calibration.h"
#include "measure/GuitarFactory.h"
#include "measure/MeasurerBase.h"

ResultPrinter::Side ResultPrinter::Build(UninitCaller *root, double reference, bool calibrate,
                                         Measure::Refinement refinement, const Measure::StringNotes &strings) {
  Side side;
  RCPtr<Measure3::GuitarFactory> factory(new Measure3::GuitarFactory);
  factory->SetRefinement(refinement);
  factory->SetStrings(strings);
  side.pipeline = new TimedPipeline(
      root, MakeDelegate<void(const Measure::Result *, unsigned int)>(this, &ResultPrinter::OnResults), factory.get());
  side.pipeline->SetReferenceFrequency(reference);
  pipeline_ = side.pipeline.get();
  if (calibrate) {
    TunerDetectPitch::Bindings bindings;
    bindings.onStable.Bind(this, &ResultPrinter::OnStable);
    bindings.onUpdate.Bind(this, &ResultPrinter::OnUpdate);
    side.detector = new TunerDetectPitch(root, bindings);
    detector_ = side.detector.get();
  }
  return side;
}

bool ResultPrinter::PastTheEnd() const {
  if (!recording_ || !recording_->ended) return false;
  const int64_t end = pipeline_->resultStart + pipeline_->resultDuration;
  return static_cast<uint64_t>(Measure::MeasurerBase::BytesFromTime(end) / drovane::kBytesPerSample) > recording_->length;
}

void ResultPrinter::OnResults(const Measure::Result *records, unsigned int count) {
  if (PastTheEnd()) return;
  const double reference = pipeline_->GetReferenceFrequency();
  for (unsigned int i = 0; i < count; ++i) {
    format_->Result(pipeline_->resultStart, records[i].level, records[i].note, reference);
    ++summary_->results;
    if (records[i].note != 0) {
      summary_->lastNote = records[i].note;
      summary_->lastReference = reference;
    }
    if (detector_) detector_->OnPitch(records[i].note, reference);
    if (cue_)
      cue_->Reading(records[i].note, format_->Targets(), static_cast<double>(pipeline_->resultStart) * 1e-7,
                    static_cast<int>(Measure::MeasurerBase::BytesFromTime(pipeline_->resultDuration) /
                                     drovane::kBytesPerSample));
  }
}

void ResultPrinter::OnStable(double pitch, double reference) {
  if (summary_->stableFound) return;
  summary_->stableFound = true;
  summary_->stablePitch = pitch;
  summary_->stableReference = reference;
  const Measure::NoteTargets &targets = format_->Targets();
  summary_->calibrated = CalibratedReference(pitch, reference, targets.Target(targets.Nearest(pitch)));
}
