#pragma once

#include <cstdint>

#include "WaveSource.h"
#include "filters/IMediaSample.h"
#include "general/RCPtr.h"
#include "win/wave.h"

// A capture buffer that is at the same time the media sample handed
// downstream. Created for one use: queued once, filled once by the device,
// handed on once, freed when its last holder lets go. The header and its
// buffer live in one allocation; create through Create or Next.
class WaveHeaderMM final : public AV::IMediaSample {
 public:
  // A buffer of `size` bytes (contents undefined) covering [start, start + duration).
  static RCPtr<WaveHeaderMM> Create(int64_t start, int64_t duration, uint32_t size);
  // The next buffer of `bufferMs` milliseconds of the stream at `position`,
  // which advances past it.
  static RCPtr<WaveHeaderMM> Next(WaveSource &position, double bufferMs);

  // Reports the full buffer length, whatever the device recorded.
  void GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) override;
  uint8_t GetFlags() override { return flags_; }

  // For the device calls; the device fills it in.
  WAVEHDR *Header() { return &header_; }

  static void *operator new(size_t size, uint32_t extra);
  static void operator delete(void *p);
  static void operator delete(void *p, uint32_t extra);

 private:
  WaveHeaderMM(int64_t start, int64_t duration, uint32_t size);

  WAVEHDR header_;
  uint8_t flags_ = 0;
  int64_t start_;
  int64_t duration_;
};
