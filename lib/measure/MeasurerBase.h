#pragma once

#include <cstdint>
#include <vector>

#include "MeasureResult.h"
#include "base/SoundFormat.h"
#include "filters/BaseFilter.h"
#include "filters/Fifo2.h"

namespace Measure {

// The capture format every measurer expects (16-bit mono PCM, 22050/s).
struct PcmFormat {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t samplesPerSec = drovane::kSampleRate;
  uint32_t avgBytesPerSec = drovane::kBytesPerSecond;
  uint16_t blockAlign = drovane::kBytesPerSample;
  uint16_t bitsPerSample = drovane::kBitsPerSample;
  uint16_t extraBytes = 0;
};

// A filter that turns captured audio samples of any size into result
// samples: it re-blocks the byte stream into analysis blocks, hands each to
// the concrete measurer and writes whatever results a block produced down its
// pins as one AV::MediaSample of 16-byte records, stamped with the block's
// start and duration. Everything happens inside WriteSample, on the caller's
// thread. Failures inside the stream are recorded and skipped, never stop it.
class MeasurerBase : public BaseFilter {
 public:
  MeasurerBase();

  // Completes construction: Initialize, then stopped (or left not
  // initialised, so every Start fails, when Initialize fails).
  void Init();

  // Both stream positions go to the byte position of `position` (100 ns).
  HRESULT SetStartPosition(int64_t position) override;
  // Queues and analyses the sample; E_FAIL (nothing queued) unless running.
  HRESULT WriteSample(AV::IMediaSample *sample) override;
  HRESULT Start() override;
  // Drops unanalysed bytes; positions stay until the next SetStartPosition.
  HRESULT Stop() override;

  // Hooks of the concrete measurer.
  virtual HRESULT Initialize() { return 0; }
  virtual uint32_t GetBlockBytes() { return 1000; }
  virtual HRESULT ProcessBlock(const int16_t *) { return 1; }
  virtual uint32_t GetResultCount() { return 0; }
  virtual void GetResults(Result *) {}

  // Byte position of a time, rounded and kept on a whole sample; and back.
  static int64_t BytesFromTime(int64_t time);
  static int64_t TimeFromBytes(int64_t bytes);

  int64_t ProcessedPosition() const { return processed_; }
  int64_t WrittenPosition() const { return written_; }
  int32_t Unanalyzed() { return fifo_.GetAvailable(); }
  const PcmFormat &Format() const { return format_; }

 private:
  void ProcessAllData();
  HRESULT SendResults(int64_t start, int64_t duration, const Result *records, uint32_t count);

  int64_t processed_ = 0;
  int64_t written_ = 0;
  Fifo2 fifo_;
  PcmFormat format_;
  uint32_t blockBytes_ = 0;
  std::vector<int16_t> block_;
  std::vector<Result> records_;
};

}  // namespace Measure
