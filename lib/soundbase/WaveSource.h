#pragma once

#include <cstdint>

#include "TWaveFormatEx.h"
#include "general/CRefCounter.h"

// The running position of a sample stream: how much has been counted so far
// and the time at its end. The end time is always derived from the whole
// sample total, so rounding never accumulates. Single-threaded.
class WaveSource : public virtual CRefCounter {
 public:
  WaveSource() = default;
  explicit WaveSource(const TWaveFormatEx &f) : format(f) {}
  ~WaveSource() override = default;

  // Both counters back to 0.
  void Reset();
  // Counts `samples` more and returns the time at which they begin.
  int64_t Advance(int64_t samples);

  int64_t endTime = 0;      // 100 ns units
  int64_t sampleTotal = 0;
  TWaveFormatEx format;
};

class WaveSource2 : public WaveSource {
 public:
  using WaveSource::WaveSource;
};
