#pragma once

#include <cstdint>

#include "win/wave.h"

// The wave format record with its size and time arithmetic. Times are signed
// 64-bit counts of 100 ns units; a sample is one block (one frame of all
// channels). Copied by value; the same 18 bytes as WAVEFORMATEX.
class TWaveFormatEx : public WAVEFORMATEX {
 public:
  // Format tag PCM, every other field 0.
  TWaveFormatEx();
  explicit TWaveFormatEx(const WAVEFORMATEX &format) : WAVEFORMATEX(format) {}

  // The program's format: PCM, mono, 22050 samples/s, 16 bits.
  static TWaveFormatEx Default();

  // Bytes / block alignment, truncated. A partial block fails the check
  // "TWaveFormatEx::SampleSizeToSampleCount" but the quotient is still used.
  int64_t SampleSizeToSampleCount(uint32_t bytes) const;
  // Bytes covering `time`, rounded to the nearest byte, then down to a whole block.
  uint32_t TimeToBytes(int64_t time) const;
  int64_t SamplesToTime(int64_t samples) const;
  int64_t TimeToSamples(int64_t time) const;
};

static_assert(sizeof(TWaveFormatEx) == 18);
