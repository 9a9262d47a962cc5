#include "PitchAnalysis.h"

#include <cstring>

#include "ResultPrinter.h"
#include "base/SoundFormat.h"
#include "filters/MediaSample.h"
#include "measure/MeasurerBase.h"

AnalysisSummary PitchAnalysis::Run(Recording *source) {
  AnalysisSummary summary;
  ResultPrinter printer(format_, &summary);
  UninitCaller root;
  const ResultPrinter::Side side = printer.Build(&root, reference_, calibrate_);

  int16_t buffer[kCaptureSamples];
  while (const size_t n = source->Read(buffer, kCaptureSamples)) {
    uint8_t *data = nullptr;
    const int64_t start = Measure::MeasurerBase::TimeFromBytes(drovane::kBytesPerSample * static_cast<int64_t>(summary.samples));
    const int64_t end = Measure::MeasurerBase::TimeFromBytes(drovane::kBytesPerSample * static_cast<int64_t>(summary.samples + n));
    RCPtr<AV::IMediaSample> sample(new AV::MediaSample(start, end - start, static_cast<uint32_t>(sizeof buffer[0] * n), &data));
    std::memcpy(data, buffer, sizeof buffer[0] * n);
    side.pipeline->OnSample(sample.get());
    summary.samples += n;
  }
  summary.error = source->Error();
  summary.nonFinite = source->NonFiniteSamples();
  return summary;
}
