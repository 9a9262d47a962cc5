#pragma once

#include "IMediaSample.h"
#include "general/RCPtr.h"
#include "general/rcvector.h"

// A sample over a shared vector of 16-bit PCM; no copy is made and the vector
// lives as long as its last holder. Carries no timing (start and duration 0).
class RCVectorMediaSample : public AV::IMediaSample {
 public:
  explicit RCVectorMediaSample(rcvector<short> *samples) : samples_(samples) {}

  // Bytes, not elements: twice the element count.
  void GetInfo(int64_t *start, int64_t *duration, const uint8_t **data, uint32_t *bytes) override;
  uint8_t GetFlags() override { return flags_; }

 private:
  uint8_t flags_ = 0;
  int64_t duration_ = 0;
  int64_t start_ = 0;
  RCPtr<rcvector<short>> samples_;
};
