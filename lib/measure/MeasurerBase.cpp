#include "MeasurerBase.h"

#include <cstring>

#include "base/SoundFormat.h"
#include "filters/MediaSample.h"
#include "general/CheckSites.h"

namespace Measure {

MeasurerBase::MeasurerBase() { state_ = kNotInitialised; }

void MeasurerBase::Init() {
  if (!Check(Initialize() >= 0, CheckSites::kMeasurerInitFailed)) return;
  blockBytes_ = GetBlockBytes();
  block_.assign((blockBytes_ + 1) / sizeof(int16_t), 0);
  state_ = kStopped;
}

int64_t MeasurerBase::BytesFromTime(int64_t time) {
  const int64_t b = static_cast<int64_t>(time * 1e-7 * drovane::kBytesPerSecond + 0.5);
  return b - b % drovane::kBytesPerSample;
}

int64_t MeasurerBase::TimeFromBytes(int64_t bytes) { return static_cast<int64_t>(bytes * 1e7 / drovane::kBytesPerSecond + 0.5); }

HRESULT MeasurerBase::SetStartPosition(int64_t position) {
  processed_ = written_ = BytesFromTime(position);
  BaseFilter::SetStartPosition(position);
  return 0;
}

HRESULT MeasurerBase::WriteSample(AV::IMediaSample *sample) {
  if (!Check(state_ == kRunning, CheckSites::kMeasurerWriteNotRunning)) return E_FAIL;
  if (!Check(sample != nullptr, CheckSites::kMeasurerWriteNull)) return E_INVALIDARG;
  uint32_t bytes = 0;
  sample->GetInfo(nullptr, nullptr, nullptr, &bytes);
  fifo_.Append(sample);
  written_ += bytes;
  ProcessAllData();
  return 0;
}

HRESULT MeasurerBase::Start() {
  const HRESULT hr = BaseFilter::Start();
  Check(hr >= 0, CheckSites::kMeasurerStartFailed);
  return hr;
}

HRESULT MeasurerBase::Stop() {
  BaseFilter::Stop();
  fifo_.Clear();
  return 0;
}

void MeasurerBase::ProcessAllData() {
  while (blockBytes_ != 0 && static_cast<uint32_t>(fifo_.GetAvailable()) >= blockBytes_) {
    fifo_.ReadNextBytes(block_.data(), blockBytes_);
    if (!Check(ProcessBlock(block_.data()) >= 0, CheckSites::kBlockNotProcessed)) continue;
    const uint32_t n = GetResultCount();
    const int64_t start = TimeFromBytes(processed_);
    const int64_t duration = TimeFromBytes(processed_ + blockBytes_) - start;
    processed_ += blockBytes_;
    if (n == 0) continue;
    records_.assign(n, Result{});
    std::memset(static_cast<void *>(records_.data()), 0, n * sizeof(Result));
    GetResults(records_.data());
    SendResults(start, duration, records_.data(), n);
  }
}

HRESULT MeasurerBase::SendResults(int64_t start, int64_t duration, const Result *records, uint32_t count) {
  uint8_t *data = nullptr;
  const RCPtr<AV::IMediaSample> sample(
      new AV::MediaSample(start, duration, static_cast<uint32_t>(count * sizeof(Result)), &data));
  std::memcpy(data, records, count * sizeof(Result));
  const HRESULT hr = BaseFilter::WriteSample(sample.get());
  Check(hr >= 0, CheckSites::kResultsNotSent);
  return hr;
}

}  // namespace Measure
